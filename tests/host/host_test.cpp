#include <gtest/gtest.h>

#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "host/text_encoding.h"
#include "host/text_file.h"
#include "test_support.h"

using namespace ts;

TEST(TextEncoding, RoundTripsWindows1252) {
    std::string cp = "r\xE9pertoire \x80 \x9C";
    std::string utf = toUtf8(cp);
    EXPECT_EQ(utf, "r\xC3\xA9pertoire \xE2\x82\xAC \xC5\x93");
    EXPECT_EQ(fromUtf8(utf), cp);
    EXPECT_EQ(fromUtf8("\xE4\xB8\xAD"), "?");       // no Windows-1252 form
    EXPECT_EQ(fromUtf8("a\xFF" "b"), "a\xFF" "b");  // not UTF-8: kept as bytes
}

TEST(TextFile, ReadsLikeFgetsInTextMode) {
    test::TempDir dir;
    dir.write("a.txt", "one\r\ntwo\nlone\rcr\r\nlast");
    auto f = TextFile::open(dir.file("a.txt"), "r");
    ASSERT_TRUE(f);
    std::string line;
    ASSERT_TRUE(f->readLine(line, 1000));
    EXPECT_EQ(line, "one\n");
    ASSERT_TRUE(f->readLine(line, 1000));
    EXPECT_EQ(line, "two\n");
    ASSERT_TRUE(f->readLine(line, 3));  // limit: at most 2 bytes
    EXPECT_EQ(line, "lo");
    ASSERT_TRUE(f->readLine(line, 1000));
    EXPECT_EQ(line, "ne\rcr\n");
    EXPECT_FALSE(f->eof());
    ASSERT_TRUE(f->readLine(line, 1000));
    EXPECT_EQ(line, "last");
    EXPECT_TRUE(f->eof());
    EXPECT_FALSE(f->readLine(line, 1000));
}

TEST(TextFile, WritesCrLf) {
    test::TempDir dir;
    auto f = TextFile::open(dir.file("w.txt"), "w");
    ASSERT_TRUE(f);
    f->write("a\nb\n");
    EXPECT_TRUE(f->close());
    EXPECT_EQ(dir.read("w.txt"), "a\r\nb\r\n");
}

TEST(FileSystem, BackslashPathsAndAtomicWrite) {
    test::TempDir dir;
    dir.write("sub/x.bin", "old");
    std::string winPath = dir.path() + "\\sub\\x.bin";
    EXPECT_TRUE(fileExists(winPath));
    EXPECT_TRUE(writeFileAtomically(winPath, "new content"));
    EXPECT_EQ(dir.read("sub/x.bin"), "new content");
    EXPECT_FALSE(writeFileAtomically(dir.path() + "/missing/y.bin", "z"));
    EXPECT_FALSE(fileExists(dir.path() + "/sub"));  // a directory is not a file
    EXPECT_EQ(openFile(dir.path() + "/sub", "rb"), nullptr);
}

TEST(HostServices, RecordingHostAnswersFromScriptAndNotesFailures) {
    RecordingHost host;
    host.answers = {Answer::No};
    MessageBoxRequest q{"Question", "Go on?", Icon::Question, Buttons::YesNo, Answer::Yes};
    EXPECT_EQ(host.messageBox(q), Answer::No);
    EXPECT_EQ(host.messageBox(q), Answer::Yes);
    EXPECT_FALSE(host.failureSeen());
    host.messageBox({"Debuging", "x", Icon::None});
    EXPECT_TRUE(host.failureSeen());
}

TEST(HostServices, SplitsCommandLinesLikeAShell) {
    auto w = splitCommandLine("notepad \"my file.txt\" a\\ b 'c d'");
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[1], "my file.txt");
    EXPECT_EQ(w[2], "a b");
    EXPECT_EQ(w[3], "c d");
}

TEST(MessageBox, AMessageWithoutValuesPrintsAsPrintfWouldAndReadsNoConversion) {
    EXPECT_EQ(ts::formatWithoutValues("Binary type error (please use %%1b, %%2b, %%4b only)"),
              ts::formatText("Binary type error (please use %%1b, %%2b, %%4b only)"));
    EXPECT_EQ(ts::formatWithoutValues("100%% sure"), "100% sure");
    // A conversion left in a text by mistake is shown, never read.
    EXPECT_EQ(ts::formatWithoutValues("%s and %d"), "%s and %d");
    EXPECT_EQ(ts::formatWithoutValues("ends with %"), "ends with %");
    EXPECT_EQ(ts::formatWithoutValues(""), "");
}
