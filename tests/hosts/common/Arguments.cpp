#include "tests/hosts/common/Arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

Arguments::Arguments(std::vector<std::string> wordsToParse) : words(std::move(wordsToParse)) {}

std::optional<std::string> Arguments::option(std::string_view name)
{
    std::optional<std::string> value;
    for (const auto& each : options(name))
        value = each;
    return value;
}

std::vector<std::string> Arguments::options(std::string_view name)
{
    std::vector<std::string> values;
    for (size_t i = 0; i < words.size();)
    {
        if (words[i] != name)
        {
            ++i;
            continue;
        }
        if (i + 1 >= words.size())
            throw UsageError(std::string(name) + " needs a value");
        values.push_back(words[i + 1]);
        words.erase(words.begin() + long(i), words.begin() + long(i) + 2);
    }
    return values;
}

bool Arguments::flag(std::string_view name)
{
    bool found = false;
    for (size_t i = 0; i < words.size();)
    {
        if (words[i] == name)
        {
            found = true;
            words.erase(words.begin() + long(i));
        }
        else
        {
            ++i;
        }
    }
    return found;
}

std::vector<std::string> Arguments::positionals(size_t expected, std::string_view what)
{
    for (const auto& word : words)
        if (word.size() > 1 && word.rfind("--", 0) == 0)
            throw UsageError("unknown option " + word);
    if (words.size() != expected)
        throw UsageError("expected " + std::string(what));
    return words;
}

double parseNumber(const std::string& text, std::string_view what)
{
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE ||
        !std::isfinite(value))
        throw UsageError(std::string(what) + ": not a number: '" + text + "'");
    return value;
}

long parseInteger(const std::string& text, std::string_view what)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE)
        throw UsageError(std::string(what) + ": not an integer: '" + text + "'");
    return value;
}
