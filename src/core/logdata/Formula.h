#pragma once
// An expression over a device's measured values by their field names, such as
// "T1 - T2" or "(TV - TR) * V * 0.0697", evaluated by muparser: the usual arithmetic,
// comparisons and muparser's built-in functions (min, max, abs, sqrt, if-then-else "?:" …).

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Why an expression cannot be used, and where: position counts characters from 1.
class TFormulaError : public std::runtime_error {
public:
    TFormulaError(int position, const std::string& reason, std::string unknownField = {});
    int Position() const { return position; }
    const std::string& Reason() const { return reason; }
    // The name the expression uses that is no field; empty for other errors.
    const std::string& UnknownField() const { return unknownField; }

private:
    int position;
    std::string reason;
    std::string unknownField;
};

class TFormula {
public:
    // Compiles the expression; every name in it must be one of the fields. Fails with
    // TFormulaError: a syntax error with muparser's reason, an unknown name as
    // "unknown field NAME".
    TFormula(const std::string& expression, const std::vector<std::string>& fields);
    ~TFormula();
    TFormula(TFormula&&) noexcept;
    TFormula& operator=(TFormula&&) noexcept;

    const std::string& Expression() const { return expression; }
    // The fields the expression reads, as indexes into the list it was compiled against,
    // in ascending order.
    const std::vector<int>& Inputs() const { return inputs; }

    // Evaluates rows of inputs at once: inputs[k][row] is input k's value in that row
    // (k as in Inputs()); results[row] receives the result.
    void Evaluate(const std::vector<std::vector<double>>& inputs, std::vector<double>& results);

private:
    struct Parser;
    std::string expression;
    std::vector<int> inputs;
    std::unique_ptr<Parser> parser;
};
