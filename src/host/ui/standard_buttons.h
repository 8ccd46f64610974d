#pragma once
// Qt writes the standard buttons (OK, Cancel, Yes, No) in English whatever the edition: these
// give them the table's texts, shown and read out.
class QDialogButtonBox;
class QMessageBox;

namespace ts {

void labelStandardButtons(QDialogButtonBox& buttons);
void labelStandardButtons(QMessageBox& box);

}  // namespace ts
