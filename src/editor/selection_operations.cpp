#include "editor/selection_operations.h"

#include <cstring>

#include "resources/texts.h"
#include "script/values.h"

namespace ts {

namespace {

bool isDecimal(char c) { return c >= '0' && c <= '9'; }
bool isLowerHex(char c) { return isDecimal(c) || (c >= 'a' && c <= 'f'); }

// Moves past an operand's text: "0x" or "0b" with lower-case hex digits after it, then decimal
// digits. Upper-case digits are not passed over (so "+0x1F" ends its operand before the F).
size_t skipOperand(const std::string& s, size_t p) {
    if (p + 1 < s.size() && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'b')) {
        p += 2;
        while (p < s.size() && isLowerHex(s[p])) ++p;
    }
    while (p < s.size() && isDecimal(s[p])) ++p;
    return p;
}

bool startsWith(const std::string& s, size_t p, const char* word) {
    return s.compare(p, std::strlen(word), word) == 0;
}

bool knownTest(char t) {
    return t == '=' || t == '&' || t == '~' || t == '>' || t == '<' || t == '!';
}

DialogOutcome message(T caption, T text) {
    DialogOutcome outcome;
    outcome.close = false;
    outcome.caption = tr(caption);
    outcome.text = tr(text);
    return outcome;
}

inline bool apply(char op, uint32_t operand, uint32_t& v) {
    switch (op) {
        case '|': v |= operand; return true;
        case '&': v &= operand; return true;
        case '+': v += operand; return true;
        case '-': v -= operand; return true;
        case '*': v *= operand; return true;
        case '/': if (operand != 0) v /= operand; return true;
        case '%': if (operand != 0) v %= operand; return true;
        case '^': v ^= operand; return true;
        case '=': v = operand; return true;
        default: return false;
    }
}

inline bool test(const ConditionTest& t, int32_t v) {
    switch (t.test) {
        case '=': return v == t.operand;
        case '&': return (uint32_t(v) & uint32_t(t.operand)) != 0;
        case '~': return (uint32_t(v) & uint32_t(t.operand)) == 0;
        case '>': return t.orEqual ? v >= t.operand : v > t.operand;
        case '<': return t.orEqual ? v <= t.operand : v < t.operand;
        case '!': return v != t.operand;
        default: return false;
    }
}

}  // namespace

bool knownOperator(char op) {
    return std::strchr("|&+-*/%^=", op) != nullptr && op != 0;
}

std::vector<Operation> parseOperations(std::string_view text) {
    const std::string s(text.substr(0, kOperationTextMax));
    std::vector<Operation> operations;
    size_t p = 0;
    while (p < s.size() && int(operations.size()) < kMaxOperations) {
        Operation operation;
        operation.op = s[p++];
        const bool complement = p < s.size() && s[p] == '~';
        if (complement) ++p;
        const uint32_t value = uint32_t(parseValue(s.c_str() + p));
        operation.operand = complement ? ~value : value;
        operations.push_back(operation);
        p = skipOperand(s, p);
    }
    return operations;
}

bool parseConditions(std::string_view text, std::vector<ConditionTest>& tests) {
    tests.clear();
    const std::string s(text.substr(0, kOperationTextMax));
    size_t p = 0;
    Linker linker = Linker::And;
    while (p < s.size()) {
        ConditionTest t;
        t.linker = linker;
        t.test = s[p];
        size_t operand = p + 1;
        if (operand < s.size() && s[operand] == '=') {
            t.orEqual = true;
            ++operand;
        }
        t.operand = parseValue(s.c_str() + std::min(operand, s.size()));
        tests.push_back(t);
        const size_t space = s.find(' ', operand);
        if (space == std::string::npos) break;
        p = space + 1;
        if (startsWith(s, p, "et ")) linker = Linker::And, p += 3;
        else if (startsWith(s, p, "and ")) linker = Linker::And, p += 4;
        else if (startsWith(s, p, "ou ")) linker = Linker::Or, p += 3;
        else if (startsWith(s, p, "or ")) linker = Linker::Or, p += 3;
        else return false;
        if (int(tests.size()) >= kMaxTests) break;
        if (p >= s.size()) {  // a linker with nothing after it: a test of nothing
            ConditionTest empty;
            empty.linker = linker;
            tests.push_back(empty);
        }
    }
    return true;
}

int applyOperations(const std::vector<Operation>& operations, uint32_t& value) {
    for (size_t i = 0; i < operations.size(); ++i)
        if (!apply(operations[i].op, operations[i].operand, value)) return int(i);
    return -1;
}

bool evaluateConditions(const std::vector<ConditionTest>& tests, int32_t value, bool& unknown) {
    unknown = false;
    bool result = true;
    for (size_t i = 0; i < tests.size(); ++i) {
        if (!knownTest(tests[i].test)) unknown = true;
        const bool r = test(tests[i], value);
        if (i == 0) result = r;
        else if (tests[i].linker == Linker::And) result = result && r;
        else result = result || r;
    }
    return result;
}

DialogOutcome runSelectionOperations(SelectionStore& store, std::string_view operationText,
                                     std::string_view conditionText, bool onlyActive, int layer,
                                     uint32_t invisibleBlock, bool zeroMask) {
    const std::vector<Operation> operations = parseOperations(operationText);
    std::vector<ConditionTest> tests;
    if (!parseConditions(conditionText, tests))
        return message(T::CaptionConditionError, T::ConditionsUnknownLinker);
    if (store.layerCount <= 0 || !store.allocated() || operations.empty()) return {};

    int firstLayer = 0, lastLayer = store.layerCount - 1;
    if (onlyActive) {
        if (layer < 0 || layer >= kStoreLayers) return {};
        firstLayer = lastLayer = layer;
    }
    bool badTest = false;
    for (const ConditionTest& t : tests) badTest = badTest || !knownTest(t.test);
    bool badOperator = false;
    for (const Operation& o : operations) badOperator = badOperator || !knownOperator(o.op);

    const int width = std::min(store.width, kStoreSide), height = std::min(store.height, kStoreSide);
    for (int k = firstLayer; k <= lastLayer; ++k) {
        for (int y = 0; y < height; ++y) {
            uint32_t* row = store.row(k, y);
            for (int x = 0; x < width; ++x) {
                uint32_t v = row[x];
                if (skippedCell(v, invisibleBlock, zeroMask)) continue;
                if (!tests.empty()) {
                    if (badTest) return message(T::CaptionConditionError, T::ConditionsUnknownTest);
                    bool unknown = false;
                    if (!evaluateConditions(tests, int32_t(v), unknown)) continue;
                }
                if (badOperator) {
                    applyOperations(operations, v);  // the operations before the bad one count
                    row[x] = v;
                    return message(T::CaptionOperationError, T::OperationsUnknownOperator);
                }
                for (const Operation& o : operations) apply(o.op, o.operand, v);
                row[x] = v;
            }
        }
    }
    return {};
}

}  // namespace ts
