// "Object parameters": x, y, type and every parameter of the list's model for one object of the
// active list plane. Numbers are checked before anything changes; the change is one undo step.
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <vector>

#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/ui/dialog_fields.h"
#include "editor/ui/editor_dialogs.h"
#include "host/message_box.h"

namespace ts {

namespace {

class ObjectParametersDialog : public QDialog {
public:
    ObjectParametersDialog(App& app, int slot, int index, QWidget* parent)
        : QDialog(parent), app_(app), slot_(slot), index_(index) {
        named(this, "object-parameters", qtr(T::ObjectParamsTitle));
        setWindowTitle(qtr(T::ObjectParamsTitle));
        const ObjectList& list = editorDocument(app).planes[size_t(slot)].objects;
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label(this, "object-model", toQt(formatText(ts::tr(T::ObjectParamsModel), list.model.name.c_str()))));
        auto* grid = new QGridLayout;
        int row = 0;
        auto addRow = [&](const char* labelName, const char* fieldName, const QString& text, const QString& value) {
            grid->addWidget(label(this, labelName, text), row, 0);
            auto* edit = lineEdit(this, fieldName, text, value);
            grid->addWidget(edit, row++, 1);
            return edit;
        };
        x_ = addRow("object-x-label", "object-x", qtr(T::ObjectParamsX), QString::number(entryX(list, index)));
        y_ = addRow("object-y-label", "object-y", qtr(T::ObjectParamsY), QString::number(entryY(list, index)));
        type_ = addRow("object-type-label", "object-type", qtr(T::ObjectParamsType), QString::number(entryType(list, index)));
        for (size_t p = 0; p < list.model.params.size(); ++p) {
            const ModelParam& param = list.model.params[p];
            QString name = toQt(param.name);
            std::string labelName = "object-param-label-" + std::to_string(p);
            std::string fieldName = "object-param-" + std::to_string(p);
            QString value = param.kind == ParamRaw ? toQt(entryRawParam(list, index, int(p)))
                                                   : QString::number(entryIntParam(list, index, int(p)));
            auto* edit = addRow(labelName.c_str(), fieldName.c_str(), name, value);
            if (param.kind == ParamRaw) edit->setMaxLength(std::max(param.size - 1, 0));
            params_.push_back(edit);
        }
        grid->setColumnStretch(1, 1);
        auto* inner = new QWidget(this);
        inner->setLayout(grid);
        if (list.model.params.size() > 12) {
            // Long models scroll rather than grow past the screen.
            auto* scroll = named(new QScrollArea(this), "object-fields", qtr(T::ObjectParamsTitle));
            scroll->setWidget(inner);
            scroll->setWidgetResizable(true);
            scroll->setMinimumHeight(360);
            layout->addWidget(scroll);
        } else {
            layout->addWidget(inner);
        }
        layout->addWidget(okCancel(this, "object"));
        setMinimumWidth(320);
    }

    void accept() override {
        EditorDocument& doc = editorDocument(app_);
        PlaneRecord& plane = doc.planes[size_t(slot_)];
        ObjectList& list = plane.objects;
        if (index_ < 0 || index_ >= list.count) return QDialog::reject();
        int64_t x = 0, y = 0, type = 0;
        bool ex = false, ey = false, et = false;
        if (!integerField(app_, x_, x, ex) || !integerField(app_, y_, y, ey) || !integerField(app_, type_, type, et))
            return;
        if (ex) x = entryX(list, index_);
        if (ey) y = entryY(list, index_);
        if (et) type = entryType(list, index_);
        // Objects stay inside the map, as the mouse keeps them.
        const int64_t maxX = plane.width > 0 ? int64_t(plane.width) * plane.blockWidth - plane.blockWidth : INT32_MAX;
        const int64_t maxY = plane.height > 0 ? int64_t(plane.height) * plane.blockHeight - plane.blockHeight : INT32_MAX;
        if (x < 0 || y < 0 || x > maxX || y > maxY) {
            refuse(app_, formatText(ts::tr(T::ObjectParamsOutside), int(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
                                    int(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX)),
                                    int(std::min<int64_t>(maxX + plane.blockWidth, INT32_MAX)),
                                    int(std::min<int64_t>(maxY + plane.blockHeight, INT32_MAX))));
            (x < 0 || x > maxX ? x_ : y_)->setFocus();
            return;
        }
        if (type < INT32_MIN || type > INT32_MAX) {
            refuseRange(app_, type_);
            return;
        }
        std::vector<int64_t> ints(params_.size(), 0);
        for (size_t p = 0; p < params_.size(); ++p) {
            if (list.model.params[p].kind == ParamRaw) continue;
            bool empty = false;
            if (!integerField(app_, params_[p], ints[p], empty)) return;
            if (empty) ints[p] = entryIntParam(list, index_, int(p));
            if (ints[p] < INT32_MIN || ints[p] > UINT32_MAX) {
                refuseRange(app_, params_[p]);
                return;
            }
        }
        setEntryPosition(list, index_, int32_t(x), int32_t(y));
        setEntryType(list, index_, int32_t(type));
        for (size_t p = 0; p < params_.size(); ++p) {
            if (list.model.params[p].kind == ParamRaw) setEntryRawParam(list, index_, int(p), fromQt(params_[p]->text()));
            else setEntryIntParam(list, index_, int(p), int32_t(uint32_t(ints[p])));
        }
        pushGroupSnapshot(app_);
        QDialog::accept();
    }

private:
    App& app_;
    int slot_, index_;
    QLineEdit *x_, *y_, *type_;
    std::vector<QLineEdit*> params_;
};

}  // namespace

bool showObjectParameters(QWidget* parent, App& app, EditorSession&, int index) {
    EditorDocument& doc = editorDocument(app);
    if (!planeOpen(doc, doc.active)) return false;
    const PlaneRecord& plane = doc.planes[size_t(doc.active)];
    if (plane.kind != PlaneList || index < 0 || index >= plane.objects.count) return false;
    ObjectParametersDialog dialog(app, doc.active, index, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace ts
