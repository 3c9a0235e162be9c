#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

/** Thrown for a command line the host cannot run; main prints it with the usage text. */
struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** The words after a subcommand: options are taken out by name, whatever is left must be the
    expected positional words, so a misspelt option is an error instead of being ignored. */
class Arguments
{
public:
    explicit Arguments(std::vector<std::string> words);

    /** Takes "--name VALUE"; the last one wins when it is given more than once. */
    std::optional<std::string> option(std::string_view name);
    /** Takes every "--name VALUE", in order. */
    std::vector<std::string> options(std::string_view name);
    /** Takes "--name" without a value. */
    bool flag(std::string_view name);
    /** The remaining words, once every option has been taken; refuses unknown options and a
        count other than expected. */
    std::vector<std::string> positionals(size_t expected, std::string_view what);

private:
    std::vector<std::string> words;
};

/** Whole-text conversions that refuse trailing garbage ("12x", "", "nan"). */
double parseNumber(const std::string& text, std::string_view what);
long parseInteger(const std::string& text, std::string_view what);
