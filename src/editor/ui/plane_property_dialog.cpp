// "Properties of plane %s": the General, Properties, Advanced, Conditions and Bits pages of one
// plane. OK checks every number field first, then applies the pages in order; a refused field,
// the parallax question answered No or a size that cannot be had keeps the sheet open.
#include <algorithm>
#include <array>
#include <functional>

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/editor_settings_script.h"
#include "editor/plane_property_rules.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "host/message_box.h"

namespace ts {

namespace {

QString percentText(double factor) { return toQt(formatText(ts::tr(T::PlaneSpeedFormat), factor * 100.0)); }

// The rule list reacts to the Delete key like the Delete button.
class RuleList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> onDelete;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Delete && onDelete) {
            onDelete();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

class PlanePropertyDialog : public QDialog {
public:
    PlanePropertyDialog(App& app, int slot, QWidget* parent) : QDialog(parent), app_(app), slot_(slot) {
        EditorDocument& doc = editorDocument(app);
        const PlaneRecord& p = doc.planes[size_t(slot)];
        QString title = toQt(formatText(ts::tr(T::PlanePropsTitle), p.element.name.c_str()));
        named(this, "plane-properties", title);
        setWindowTitle(title);
        auto* layout = new QVBoxLayout(this);
        tabs_ = named(new QTabWidget(this), "plane-pages", title);
        tabs_->addTab(generalPage(p), qtr(T::PlanePageGeneral));
        tabs_->addTab(propertiesPage(p), qtr(T::PlanePageProperties));
        tabs_->addTab(advancedPage(p), qtr(T::PlanePageAdvanced));
        tabs_->addTab(conditionsPage(p), qtr(T::PlanePageConditions));
        tabs_->addTab(bitsPage(doc, p), qtr(T::PlanePageBits));
        layout->addWidget(tabs_);
        layout->addWidget(okCancel(this, "plane"));
    }

    bool changed = false;

    void accept() override {
        // Every field is read before anything changes.
        double speedX = 0, speedY = 0;
        int64_t gridX = 0, gridY = 0, width = 0, height = 0, reference = 0, mask = 0;
        bool e = false;
        if (!decimalField(app_, speedX_, speedX, e) || !decimalField(app_, speedY_, speedY, e) ||
            !integerField(app_, gridX_, gridX, e) || !integerField(app_, gridY_, gridY, e) ||
            !integerField(app_, width_, width, e) || !integerField(app_, height_, height, e) ||
            !integerField(app_, reference_, reference, e) || !integerField(app_, mask_, mask, e))
            return;
        bool emptyReference = reference_->text().trimmed().isEmpty();
        if (mask < INT32_MIN || mask > int64_t(UINT32_MAX)) {  // a mask holds 32 bits
            refuseRange(app_, mask_);
            return;
        }
        if (!positiveOrEmpty(gridX_, gridX) || !positiveOrEmpty(gridY_, gridY) || !positiveOrEmpty(width_, width) ||
            !positiveOrEmpty(height_, height))
            return;
        EditorDocument& doc = editorDocument(app_);
        if (!planeOpen(doc, slot_)) return QDialog::reject();
        PlaneRecord& p = doc.planes[size_t(slot_)];

        if (!applyParallax(app_, slot_, speedX, speedY)) return;
        speedX_->setText(percentText(p.scrollRateX));
        speedY_->setText(percentText(p.scrollRateY));
        changed = true;
        auto clip = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, INT32_MAX)); };
        applyGeneralPage(app_, slot_, display_->isChecked(), skip_->isChecked(), clip(gridX), clip(gridY));
        int32_t ref = emptyReference ? p.tileOffset : int32_t(std::clamp<int64_t>(reference, -1, INT32_MAX));
        bool sized = applyPlaneProperties(app_, slot_, clip(width), clip(height), ref, uint32_t(mask));
        reference_->setText(QString::number(p.tileOffset));
        if (!sized) return;
        p.emulGba = emulation_->isChecked() ? 1 : 0;
        applyRules(p, rules_);
        if (bitsEdited_) {
            makeBitTables(doc);
            for (int b = 0; b < kEntryBits; ++b) updateBit(p, b, bitTexts_[size_t(b)], (bitFlags_ >> b) & 1);
        }
        QDialog::accept();
    }

private:
    // Sizes and grid steps: a negative number is refused; 0 keeps the old value.
    bool positiveOrEmpty(QLineEdit* field, int64_t value) {
        if (value >= 0) return true;
        refuseRange(app_, field);
        return false;
    }

    QWidget* generalPage(const PlaneRecord& p) {
        auto* page = named(new QWidget(this), "plane-page-general", qtr(T::PlanePageGeneral));
        auto* layout = new QVBoxLayout(page);
        display_ = checkBox(page, "plane-visible", T::PlaneDisplay, p.visible != 0);
        skip_ = checkBox(page, "plane-skip-next-time", T::PlaneSkipNextTime, p.skipInSettings);
        layout->addWidget(display_);
        layout->addWidget(skip_);
        auto* parallax = named(new QGroupBox(qtr(T::PlaneParallax), page), "plane-parallax", qtr(T::PlaneParallax));
        auto* pg = new QGridLayout(parallax);
        pg->addWidget(label(parallax, "plane-speed-label", qtr(T::PlaneSpeed)), 0, 0);
        speedX_ = lineEdit(parallax, "plane-speed-x", qtr(T::PlaneHorizontal), percentText(p.scrollRateX));
        speedY_ = lineEdit(parallax, "plane-speed-y", qtr(T::PlaneVertical), percentText(p.scrollRateY));
        pg->addWidget(speedX_, 0, 1);
        pg->addWidget(speedY_, 0, 2);
        pg->addWidget(label(parallax, "plane-speed-note", qtr(T::PlaneSpeedNote)), 1, 0, 1, 3);
        layout->addWidget(parallax);
        auto* grid = named(new QGroupBox(qtr(T::PlaneSnapGrid), page), "plane-snap-grid", qtr(T::PlaneSnapGrid));
        auto* gg = new QGridLayout(grid);
        gg->addWidget(label(grid, "plane-spacing-label", qtr(T::PlaneSpacing)), 0, 0);
        gridX_ = lineEdit(grid, "plane-grid-x", qtr(T::PlaneHorizontal), QString::number(p.gridX));
        gridY_ = lineEdit(grid, "plane-grid-y", qtr(T::PlaneVertical), QString::number(p.gridY));
        gg->addWidget(gridX_, 0, 1);
        gg->addWidget(gridY_, 0, 2);
        gg->addWidget(label(grid, "plane-grid-note", qtr(T::PlaneGridNote), true), 1, 0, 1, 3);
        layout->addWidget(grid);
        layout->addStretch();
        return page;
    }

    QWidget* propertiesPage(const PlaneRecord& p) {
        auto* page = named(new QWidget(this), "plane-page-properties", qtr(T::PlanePageProperties));
        auto* g = new QGridLayout(page);
        width_ = lineEdit(page, "plane-width", qtr(T::PlaneWidth), QString::number(p.width));
        height_ = lineEdit(page, "plane-height", qtr(T::PlaneHeight), QString::number(p.height));
        reference_ = lineEdit(page, "plane-reference-tile", qtr(T::PlaneReferenceTile), QString::number(p.tileOffset));
        mask_ = lineEdit(page, "plane-display-mask", qtr(T::PlaneDisplayMask), hexText(p.displayMask));
        QLineEdit* fields[] = {width_, height_, reference_, mask_};
        T labels[] = {T::PlaneWidth, T::PlaneHeight, T::PlaneReferenceTile, T::PlaneDisplayMask};
        const char* names[] = {"plane-width-label", "plane-height-label", "plane-reference-label", "plane-mask-label"};
        for (int i = 0; i < 4; ++i) {
            g->addWidget(label(page, names[i], qtr(labels[i])), i, 0);
            g->addWidget(fields[i], i, 1);
        }
        if (p.kind != PlaneMap) {
            width_->setEnabled(false);
            height_->setEnabled(false);
        }
        g->setRowStretch(4, 1);
        return page;
    }

    QWidget* advancedPage(const PlaneRecord& p) {
        auto* page = named(new QWidget(this), "plane-page-advanced", qtr(T::PlanePageAdvanced));
        auto* layout = new QVBoxLayout(page);
        emulation_ = checkBox(page, "plane-gba-emulation", T::PlaneGbaEmulation, p.emulGba != 0);
        layout->addWidget(emulation_);
        layout->addStretch();
        return page;
    }

    QWidget* conditionsPage(const PlaneRecord& p) {
        auto* page = named(new QWidget(this), "plane-page-conditions", qtr(T::PlanePageConditions));
        for (int i = 0; i < std::min<int>(p.ruleCount, kMaxPlaneRules); ++i) rules_.push_back(p.rules[size_t(i)]);
        auto* g = new QGridLayout(page);
        auto* list = new RuleList(page);
        rules = named(list, "plane-rules", qtr(T::PlaneRuleList));
        list->onDelete = [this] { deleteSelectedRule(); };
        g->addWidget(rules, 0, 0, 1, 4);
        g->addWidget(label(page, "plane-values-label", qtr(T::PlaneValuesBetween)), 1, 0);
        low_ = lineEdit(page, "plane-rule-low", qtr(T::PlaneRuleLow));
        high_ = lineEdit(page, "plane-rule-high", qtr(T::PlaneRuleHigh));
        g->addWidget(low_, 1, 1);
        g->addWidget(high_, 1, 2);
        g->addWidget(label(page, "plane-replace-label", qtr(T::PlaneReplaceWith)), 2, 0);
        target_ = lineEdit(page, "plane-rule-target", qtr(T::PlaneReplaceWith));
        g->addWidget(target_, 2, 1);
        exact_ = checkBox(page, "plane-rule-exact", T::PlaneDoNotIncrement, false);
        g->addWidget(exact_, 2, 2);
        auto* row = new QHBoxLayout;
        auto* add = button(page, "plane-rule-add", T::PlaneAdd);
        auto* modify = button(page, "plane-rule-modify", T::PlaneModify);
        auto* del = button(page, "plane-rule-delete", T::PlaneDelete);
        row->addWidget(add);
        row->addWidget(modify);
        row->addWidget(del);
        row->addStretch();
        g->addLayout(row, 3, 0, 1, 4);
        connect(add, &QPushButton::clicked, this, [this] { ruleButton(false); });
        connect(modify, &QPushButton::clicked, this, [this] { ruleButton(true); });
        connect(del, &QPushButton::clicked, this, [this] { deleteSelectedRule(); });
        connect(rules, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row < 0 || size_t(row) >= rules_.size()) return;
            const ValueRule& r = rules_[size_t(row)];
            low_->setText(hexText(r.low));
            high_->setText(hexText(r.high));
            target_->setText(hexText(r.target()));
            exact_->setChecked(r.exact);
        });
        fillRules();
        return page;
    }

    void fillRules() {
        rules->clear();
        for (const ValueRule& r : rules_) rules->addItem(toQt(ruleLine(r)));
    }

    // A value of a rule: empty, or something the script's value reader takes as a number.
    bool ruleValue(QLineEdit* field) {
        std::string text = fromQt(field->text());
        int64_t v = 0;
        if (readIntegerField(text, v) != FieldRead::Refused) return true;
        std::string lower = fromQt(field->text().trimmed().toLower());
        if (lower.rfind("rgb(", 0) == 0) return true;
        refuse(app_, formatText(ts::tr(T::PlaneNumberRefused), fromQt(field->text().left(60)).c_str()));
        field->setFocus();
        return false;
    }

    void ruleButton(bool modify) {
        if (!ruleValue(low_) || !ruleValue(high_) || !ruleValue(target_)) return;
        ValueRule rule;
        if (!ruleFromFields(fromQt(low_->text()), fromQt(high_->text()), fromQt(target_->text()), exact_->isChecked(),
                            rule)) {
            refuse(app_, ts::tr(T::PlaneRuleRefused));
            return;
        }
        int row = rules->currentRow();
        if (modify) {
            if (!modifyRule(rules_, row, rule)) return;
        } else if (!addRule(rules_, rule)) {
            refuse(app_, ts::tr(T::PlaneRuleNotAdded));
            return;
        } else {
            row = int(rules_.size()) - 1;
        }
        fillRules();
        rules->setCurrentRow(row);
    }

    void deleteSelectedRule() {
        int row = rules->currentRow();
        if (!deleteRule(rules_, row)) return;
        fillRules();
        if (!rules_.empty()) rules->setCurrentRow(std::min(row, int(rules_.size()) - 1));
    }

    QWidget* bitsPage(const EditorDocument& doc, const PlaneRecord& p) {
        auto* page = named(new QWidget(this), "plane-page-bits", qtr(T::PlanePageBits));
        bitTexts_ = p.bitTexts;
        bitFlags_ = p.bitFlags;
        if (!doc.bitTablesMade) {
            for (int b = 0; b < kEntryBits; ++b) bitTexts_[size_t(b)] = standardBitText(b);
            bitFlags_ = kDefaultBitFlags;
        }
        auto* g = new QGridLayout(page);
        bits = named(new QListWidget(page), "plane-bits", qtr(T::PlaneBitList));
        g->addWidget(bits, 0, 0, 1, 3);
        g->addWidget(label(page, "plane-field-name-label", qtr(T::PlaneFieldName)), 1, 0);
        bitName_ = lineEdit(page, "plane-bit-name", qtr(T::PlaneFieldName));
        bitName_->setMaxLength(int(kBitTextMax));
        g->addWidget(bitName_, 1, 1);
        bitActive_ = checkBox(page, "plane-bit-active", T::PlaneActive, false);
        g->addWidget(bitActive_, 1, 2);
        auto* update = button(page, "plane-bit-update", T::PlaneUpdate);
        g->addWidget(update, 2, 2);
        fillBits();
        connect(bits, &QListWidget::currentRowChanged, this, [this](int b) {
            if (b < 0 || b >= kEntryBits) return;
            bitName_->setText(toQt(bitTexts_[size_t(b)]));
            bitActive_->setChecked((bitFlags_ >> b) & 1);
        });
        connect(update, &QPushButton::clicked, this, [this] {
            int b = bits->currentRow();
            if (b < 0 || b >= kEntryBits) return;
            PlaneRecord scratch;
            scratch.bitTexts = bitTexts_;
            scratch.bitFlags = bitFlags_;
            updateBit(scratch, b, fromQt(bitName_->text()), bitActive_->isChecked());
            bitTexts_ = scratch.bitTexts;
            bitFlags_ = scratch.bitFlags;
            bitsEdited_ = true;
            fillBits();
            bits->setCurrentRow(b);
        });
        return page;
    }

    void fillBits() {
        PlaneRecord scratch;
        scratch.bitTexts = bitTexts_;
        scratch.bitFlags = bitFlags_;
        bits->clear();
        for (int b = 0; b < kEntryBits; ++b) bits->addItem(toQt(bitLine(scratch, b)));
    }

public:
    QListWidget* rules = nullptr;
    QListWidget* bits = nullptr;

private:
    App& app_;
    int slot_;
    QTabWidget* tabs_ = nullptr;
    QCheckBox *display_ = nullptr, *skip_ = nullptr, *emulation_ = nullptr, *exact_ = nullptr, *bitActive_ = nullptr;
    QLineEdit *speedX_ = nullptr, *speedY_ = nullptr, *gridX_ = nullptr, *gridY_ = nullptr;
    QLineEdit *width_ = nullptr, *height_ = nullptr, *reference_ = nullptr, *mask_ = nullptr;
    QLineEdit *low_ = nullptr, *high_ = nullptr, *target_ = nullptr, *bitName_ = nullptr;
    std::vector<ValueRule> rules_;
    std::array<std::string, kEntryBits> bitTexts_;
    uint32_t bitFlags_ = kDefaultBitFlags;
    bool bitsEdited_ = false;
};

}  // namespace

bool showPlaneProperties(QWidget* parent, App& app, EditorSession&, int slot) {
    if (!planeOpen(editorDocument(app), slot)) return false;
    PlanePropertyDialog dialog(app, slot, parent);
    bool accepted = dialog.exec() == QDialog::Accepted;
    return accepted || dialog.changed;
}

}  // namespace ts
