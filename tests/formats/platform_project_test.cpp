// Models, the current model, the platform and the drivers' settings survive a project file.
#include <gtest/gtest.h>

#include "formats/model.h"
#include "formats/platform.h"
#include "formats/platform_commands.h"
#include "project/project_file.h"
#include "test_support.h"

namespace ts {
namespace {

TEST(PlatformProjectTest, ProjectFileKeepsModelsPlatformAndOptions) {
    test::TempDir dir;
    test::TestApp before;
    App& app = before.app;
    Model enemy;
    enemy.name = "Enemy";
    addModelParam(enemy, "life", ParamInteger, 4, "3");
    addModelParam(enemy, "tag", ParamRaw, 12, "boss \"B\"");
    app.models.models.push_back(enemy);
    ASSERT_TRUE(ChoisitModele(app, "Enemy"));
    app.platforms.gba.align = 4;
    app.platforms.gba.paletteMask = 0;
    app.platforms.gbc.dmgMode = 1;
    selectPlatform(app, kPlatformGameBoy);

    std::string text = projectFileText(app);
    size_t model = text.find("  DefineModel \"Enemy\"\t\t{\n  \t1, 4, \"life\", \"3\"\n  \t2, 12, \"tag\", \"boss \\\"B\\\"\"\n  }\n");
    size_t current = text.find("  Model = \"Enemy\"\n\n");
    size_t platform = text.find("  Platform = \"Game Boy, Nintendo\"\n  GBA.paletteMask = false\n");
    size_t end = text.find("  End\n");
    ASSERT_NE(model, std::string::npos) << text;
    ASSERT_NE(current, std::string::npos);
    ASSERT_NE(platform, std::string::npos);
    EXPECT_LT(model, current);
    EXPECT_LT(current, platform);
    EXPECT_LT(platform, end);
    EXPECT_NE(text.find("  GBC.dmgmode = true\n"), std::string::npos);

    ASSERT_EQ(WriteProject(app, dir.file("projet.tsp")), WriteProjectResult::Written);
    test::TestApp after;
    ASSERT_TRUE(ReadProject(after.app, dir.file("projet.tsp")));
    EXPECT_TRUE(after.host.boxes.empty()) << after.host.lastCaption() << ": " << after.host.lastText();
    ASSERT_EQ(after.app.models.models.size(), 2u);
    const Model& back = after.app.models.models[1];
    ASSERT_EQ(back.params.size(), 2u);
    EXPECT_EQ(back.params[1].defaultText, "boss \"B\"");
    EXPECT_EQ(back.entrySize, 28);
    EXPECT_EQ(after.app.system.modelToSelect, "Enemy");
    EXPECT_EQ(currentPlatformIndex(after.app), kPlatformGameBoy);
    EXPECT_EQ(after.app.platforms.gba.paletteMask, 0);
    EXPECT_EQ(after.app.platforms.gbc.dmgMode, 1);
    EXPECT_EQ(after.app.platforms.records[kPlatformGba].layouts[MapText].paletteMask, 0u);
}

}  // namespace
}  // namespace ts
