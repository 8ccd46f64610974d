#pragma once
// A page of the options sheet: OK tells every page to apply its fields (in page order), Cancel
// to discard them; a models-changed notice lets pages refill their model lists.
#include <QWidget>
#include <string>
#include <vector>

namespace ts {

class OptionsPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual void apply() = 0;
    virtual void discard() {}
    // The models page changed its list of models (their names); `index` is the model to select.
    virtual void modelsChanged(const std::vector<std::string>& names, int index) {}
};

}  // namespace ts
