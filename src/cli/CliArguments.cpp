#include "cli/CliArguments.h"

#include <charconv>

namespace {

bool ParseInt(std::string_view text, int& value)
{
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// YYYY-MM-DD.
std::optional<TDateTime> ParseIsoDate(const std::string& text)
{
    int y = 0, m = 0, d = 0;
    TDateTime date = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-'
        || !ParseInt(std::string_view(text).substr(0, 4), y)
        || !ParseInt(std::string_view(text).substr(5, 2), m)
        || !ParseInt(std::string_view(text).substr(8, 2), d) || !TryEncodeDate(y, m, d, date))
        return std::nullopt;
    return date;
}

// The program's language codes 1 … 7, or their common short names.
std::optional<int> ParseLanguage(const std::string& text)
{
    static const std::pair<const char*, int> names[] = {{"de", 1}, {"en", 2}, {"en-GB", 2},
        {"fr", 3}, {"es", 4}, {"it", 5}, {"pt", 6}, {"en-US", 7}};
    for (const auto& [name, code] : names) {
        if (text == name)
            return code;
    }
    int code = 0;
    if (ParseInt(text, code) && code >= 1 && code <= 7)
        return code;
    return std::nullopt;
}

std::optional<TSeriesRequest> ParseSeries(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return std::nullopt;
    return TSeriesRequest{text.substr(0, colon), text.substr(colon + 1)};
}

} // namespace

std::string CliUsage()
{
    return "usage: kalvex-cli dump DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--lang CODE]\n"
           "                          [--series PREFIX:FIELD]... [--threads N]\n"
           "Loads the log files below DIR (two folder levels deep) for the period, as Kalvex\n"
           "does, and prints the analysis as one JSON document. The period defaults to all\n"
           "files found. CODE is 1-7 or de, en, en-GB, fr, es, it, pt, en-US (default en).\n"
           "--series adds the points of a field, e.g. --series 10:Ptag; it may be repeated.\n"
           "--threads sets how many devices are read at once (default: one per core).\n";
}

TCliCommand ParseCliArguments(const std::vector<std::string>& args)
{
    TCliCommand command;
    auto fail = [&](const std::string& message) {
        command.error = message;
        command.dump.reset();
        return command;
    };
    if (args.empty())
        return fail("no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        command.help = true;
        return command;
    }
    if (args[0] != "dump")
        return fail("unknown command " + args[0]);

    TDumpRequest request;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!request.directory.empty())
                return fail("unexpected argument " + arg);
            request.directory = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(arg + " needs a value");
        const std::string& value = args[++i];
        if (arg == "--from" || arg == "--to") {
            const auto date = ParseIsoDate(value);
            if (!date)
                return fail(arg + " needs a date YYYY-MM-DD, not " + value);
            (arg == "--from" ? request.from : request.to) = date;
        } else if (arg == "--lang") {
            const auto code = ParseLanguage(value);
            if (!code)
                return fail("unknown language " + value);
            request.languageCode = *code;
        } else if (arg == "--series") {
            const auto series = ParseSeries(value);
            if (!series)
                return fail("--series needs PREFIX:FIELD, not " + value);
            request.series.push_back(*series);
        } else if (arg == "--threads") {
            if (!ParseInt(value, request.threads) || request.threads < 1)
                return fail("--threads needs a whole number from 1, not " + value);
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (request.directory.empty())
        return fail("no directory given");
    if (request.from && request.to && *request.to < *request.from)
        return fail("the period ends before it starts");
    command.dump = request;
    return command;
}
