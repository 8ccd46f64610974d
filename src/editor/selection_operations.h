#pragma once
// "Operations on selection": the operation and condition languages that rewrite the values held
// in the selection store, and the dialog's OK as a function of its texts.
//   operations: an operator character and an operand, one after the other (+10, &0xff|0x400)
//   conditions: tests joined by " and " / " or " (also "et", "ou"), evaluated left to right
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/selection_store.h"

namespace ts {

constexpr int kMaxOperations = 10;  // operations one text holds at most
constexpr int kMaxTests = 10;       // tests one condition holds at most
constexpr size_t kOperationTextMax = 999;

struct Operation {
    char op = 0;
    uint32_t operand = 0;
};

enum class Linker : uint8_t { And, Or };

struct ConditionTest {
    char test = 0;
    bool orEqual = false;
    int32_t operand = 0;
    Linker linker = Linker::And;  // joins this test to the result so far (unused on the first)
};

// What a dialog's OK asks for: close it, or keep it open with a message.
struct DialogOutcome {
    bool close = true;
    std::string caption;
    std::string text;
    bool exclamation = false;  // the message carries the exclamation icon
};

std::vector<Operation> parseOperations(std::string_view text);
// False when a linker is neither "and", "or", "et" nor "ou" (then `tests` holds what was read).
bool parseConditions(std::string_view text, std::vector<ConditionTest>& tests);

// True when op is one of | & + - * / % ^ =.
bool knownOperator(char op);
// Applies the operations in order; stops at an unknown operator and gives its position (or -1).
// Division and modulo by 0 leave the value as it is.
int applyOperations(const std::vector<Operation>& operations, uint32_t& value);
// The condition on a value; `unknown` is set when a test character is not a known test.
bool evaluateConditions(const std::vector<ConditionTest>& tests, int32_t value, bool& unknown);

// The cells that both dialogs leave alone: the invisible block value, and 0 while the zero mask
// is on.
inline bool skippedCell(uint32_t value, uint32_t invisibleBlock, bool zeroMask) {
    return value == invisibleBlock || (zeroMask && value == 0);
}

// The dialog's OK: `layer` is the active plane's layer of the store (used when `onlyActive`).
// An empty operation text applies nothing.
DialogOutcome runSelectionOperations(SelectionStore& store, std::string_view operationText,
                                     std::string_view conditionText, bool onlyActive, int layer,
                                     uint32_t invisibleBlock, bool zeroMask);

}  // namespace ts
