#include "core/logdata/Formula.h"

#include <muParser.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

// Collects the names an expression uses, giving each a place to read from.
double* CollectName(const char* name, void* userData)
{
    auto& names = *static_cast<std::map<std::string, double>*>(userData);
    return &names[name];
}

// The position (from 1) of the first use of a name as a whole word of the expression.
int PositionOfName(const std::string& expression, const std::string& name)
{
    const auto isNameChar
        = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (size_t at = expression.find(name); at != std::string::npos;
         at = expression.find(name, at + 1)) {
        const size_t end = at + name.size();
        if ((at == 0 || !isNameChar(expression[at - 1]))
            && (end == expression.size() || !isNameChar(expression[end])))
            return int(at) + 1;
    }
    return 1;
}

// muparser's message names the place again, in its own count: " at position 5",
// " found at position 3.", " at expression position 9". That part goes.
std::string WithoutItsPlace(std::string message)
{
    for (const char* tail : {" at expression position ", " at position "}) {
        const size_t at = message.rfind(tail);
        if (at == std::string::npos)
            continue;
        const size_t digits = at + std::char_traits<char>::length(tail);
        const size_t end = message.find_first_not_of("0123456789", digits);
        if (end == digits || (end != std::string::npos && message.substr(end) != "."))
            continue;
        message.resize(at);
        if (message.ends_with(" found"))
            message.resize(message.size() - 6);
        return message;
    }
    return message;
}

} // namespace

TFormulaError::TFormulaError(int position, const std::string& reason, std::string unknownField)
    : std::runtime_error("position " + std::to_string(position) + ": " + reason)
    , position(position)
    , reason(reason)
    , unknownField(std::move(unknownField))
{
}

struct TFormula::Parser {
    mu::Parser parser;
    std::map<std::string, double> collected;
    // The name of each input, in the order of Inputs().
    std::vector<std::string> names;
};

TFormula::TFormula(const std::string& expression, const std::vector<std::string>& fields)
    : expression(expression)
    , parser(std::make_unique<Parser>())
{
    if (expression.find_first_not_of(" \t") == std::string::npos)
        throw TFormulaError(1, "the expression is empty");
    mu::Parser& p = parser->parser;
    try {
        p.SetVarFactory(CollectName, &parser->collected);
        p.SetExpr(expression);
        p.Eval(); // finds syntax errors, and every name the expression uses
    } catch (const mu::Parser::exception_type& e) {
        // muparser counts from 0 and may point just past the end.
        const int position = std::clamp(e.GetPos() + 1, 1, int(expression.size()) + 1);
        throw TFormulaError(position, WithoutItsPlace(e.GetMsg()));
    }
    std::vector<std::pair<int, std::string>> used;
    for (const auto& [name, place] : parser->collected) {
        const auto found = std::find(fields.begin(), fields.end(), name);
        if (found == fields.end())
            throw TFormulaError(PositionOfName(expression, name), "unknown field " + name, name);
        used.emplace_back(int(found - fields.begin()), name);
    }
    std::sort(used.begin(), used.end());
    for (const auto& [index, name] : used) {
        inputs.push_back(index);
        parser->names.push_back(name);
    }
    p.SetVarFactory(nullptr, nullptr);
}

TFormula::~TFormula() = default;
TFormula::TFormula(TFormula&&) noexcept = default;
TFormula& TFormula::operator=(TFormula&&) noexcept = default;

void TFormula::Evaluate(
    const std::vector<std::vector<double>>& values, std::vector<double>& results)
{
    const size_t rows = values.empty() ? results.size() : values.front().size();
    results.resize(rows);
    if (rows == 0)
        return;
    // Bound afresh for every batch: muparser reads variable k of row i at its address + i.
    mu::Parser& p = parser->parser;
    p.ClearVar();
    for (size_t k = 0; k < parser->names.size(); ++k)
        p.DefineVar(parser->names[k], const_cast<double*>(values[k].data()));
    p.SetExpr(expression);
    p.Eval(results.data(), int(rows));
}
