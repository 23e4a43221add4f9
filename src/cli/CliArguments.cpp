#include "cli/CliArguments.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <iterator>

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

// YYYY-MM-DD, optionally followed by Thh:mm.
std::optional<TDateTime> ParseIsoDateTime(const std::string& text)
{
    const auto date = ParseIsoDate(text.substr(0, 10));
    if (!date || text.size() == 10)
        return date;
    int hour = 0, minute = 0;
    double time = 0;
    if (text.size() != 16 || text[10] != 'T' || text[13] != ':'
        || !ParseInt(std::string_view(text).substr(11, 2), hour)
        || !ParseInt(std::string_view(text).substr(14, 2), minute)
        || !TryEncodeTime(hour, minute, 0, 0, time) || hour > 23)
        return std::nullopt;
    return *date + time;
}

// The entries of the time-window list by their short names.
std::optional<int> ParseTimeWindow(const std::string& text)
{
    static const char* const names[] = {"1h", "3h", "8h", "day", "month", "quarter", "year"};
    for (int entry = 0; entry < int(std::size(names)); ++entry) {
        if (text == names[entry])
            return entry;
    }
    return std::nullopt;
}

// PREFIX:NAME[UNIT]=EXPRESSION, the unit optional.
bool ParseFormula(const std::string& text, TLoadRequest& request)
{
    const size_t colon = text.find(':');
    const size_t equals = text.find('=');
    if (colon == std::string::npos || colon == 0 || equals == std::string::npos || equals < colon)
        return false;
    std::string name = text.substr(colon + 1, equals - colon - 1);
    std::string unit;
    if (const size_t open = name.find('['); open != std::string::npos) {
        if (name.back() != ']')
            return false;
        unit = name.substr(open);
        name.resize(open);
    }
    const std::string expression = text.substr(equals + 1);
    if (name.empty() || expression.empty())
        return false;
    request.formulas[text.substr(0, colon)].push_back({name, unit, expression});
    return true;
}

// The options both commands take; false for any other.
bool ParseLoadOption(
    const std::string& option, const std::string& value, TLoadRequest& request, std::string& error)
{
    if (option == "--from" || option == "--to") {
        const auto date = ParseIsoDate(value);
        if (!date)
            error = option + " needs a date YYYY-MM-DD, not " + value;
        (option == "--from" ? request.from : request.to) = date;
    } else if (option == "--lang") {
        const auto code = ParseLanguage(value);
        if (!code)
            error = "unknown language " + value;
        request.languageCode = code.value_or(request.languageCode);
    } else if (option == "--threads") {
        if (!ParseInt(value, request.threads) || request.threads < 1)
            error = "--threads needs a whole number from 1, not " + value;
    } else if (option == "--formula") {
        if (!ParseFormula(value, request))
            error = "--formula needs PREFIX:NAME[UNIT]=EXPRESSION, not " + value;
    } else {
        return false;
    }
    return true;
}

using CommandOption
    = std::function<bool(const std::string& option, const std::string& value, std::string& error)>;

// The directory and the options of a command, in any order: the shared ones, then the
// command's own (false for an option it does not know). A flag takes no value; an option
// of a pair takes two, handed over as one separated by a blank. Returns what makes no
// sense, or nothing.
std::string ParseCommand(const std::vector<std::string>& args, TLoadRequest& request,
    const std::vector<std::string>& flags, const CommandOption& commandOption,
    const std::vector<std::string>& pairs = {})
{
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!request.directory.empty())
                return "unexpected argument " + arg;
            request.directory = arg;
            continue;
        }
        std::string error;
        if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
            commandOption(arg, std::string(), error);
            continue;
        }
        if (std::find(pairs.begin(), pairs.end(), arg) != pairs.end()) {
            if (i + 2 >= args.size())
                return arg + " needs two values";
            commandOption(arg, args[i + 1] + ' ' + args[i + 2], error);
            i += 2;
            if (!error.empty())
                return error;
            continue;
        }
        if (i + 1 >= args.size())
            return arg + " needs a value";
        const std::string& value = args[++i];
        if (!ParseLoadOption(arg, value, request, error) && !commandOption(arg, value, error))
            return "unknown option " + arg;
        if (!error.empty())
            return error;
    }
    if (request.directory.empty())
        return "no directory given";
    if (request.from && request.to && *request.to < *request.from)
        return "the period ends before it starts";
    return {};
}

std::string ParseDump(const std::vector<std::string>& args, TDumpRequest& request,
    const CommandOption& otherOption = {})
{
    return ParseCommand(args, request, {},
        [&](const std::string& option, const std::string& value, std::string& error) {
            if (option != "--series")
                return otherOption && otherOption(option, value, error);
            const auto series = ParseSeries(value);
            if (!series)
                error = "--series needs PREFIX:FIELD, not " + value;
            else
                request.series.push_back(*series);
            return true;
        });
}

std::string ParseFollow(const std::vector<std::string>& args, TFollowRequest& request)
{
    return ParseDump(args, request,
        [&request](const std::string& option, const std::string& value, std::string& error) {
            if (option != "--poll")
                return false;
            if (!ParseInt(value, request.pollSeconds) || request.pollSeconds < 1)
                error = "--poll needs a whole number of seconds from 1, not " + value;
            return true;
        });
}

bool ParseReportOption(const std::string& option, const std::string& value, TReportRequest& request,
    std::string& error)
{
    if (option == "--out") {
        request.outDirectory = value;
    } else if (option == "--window") {
        const auto entry = ParseTimeWindow(value);
        if (!entry)
            error = "--window needs 1h, 3h, 8h, day, month, quarter or year, not " + value;
        request.spanTime = entry.value_or(request.spanTime);
    } else if (option == "--at") {
        request.at = ParseIsoDateTime(value);
        if (!request.at)
            error = "--at needs YYYY-MM-DD or YYYY-MM-DDThh:mm, not " + value;
    } else if (option == "--between") {
        const size_t blank = value.find(' ');
        const auto from = ParseIsoDateTime(value.substr(0, blank));
        const auto to = ParseIsoDateTime(value.substr(blank + 1));
        if (!from || !to)
            error = "--between needs FROM TO as YYYY-MM-DD[Thh:mm], not " + value;
        else
            request.between = {{*from, *to}};
    } else if (option == "--each") {
        request.each = true;
    } else if (option == "--device") {
        request.device = value;
    } else if (option == "--show") {
        request.show.push_back(value);
    } else if (option == "--format") {
        if (value != "jpg" && value != "bmp" && value != "png" && value != "pdf")
            error = "--format needs jpg, bmp, png or pdf, not " + value;
        request.format = value;
    } else {
        return false;
    }
    return true;
}

std::string ParseReport(const std::vector<std::string>& args, TReportRequest& request)
{
    std::string error = ParseCommand(args, request, {"--each"},
        [&request](const std::string& option, const std::string& value, std::string& error) {
            return ParseReportOption(option, value, request, error);
        },
        {"--between"});
    if (!error.empty())
        return error;
    if (request.between && request.each)
        return "--between measures in the one window of a report, not with --each";
    if (request.outDirectory.empty())
        return "no output directory given (--out OUTDIR)";
    const bool overview = request.device == "overview";
    for (const std::string& field : request.show) {
        // On the "Overview" tab every value names its device; on a device tab none does.
        if (overview && !ParseSeries(field))
            return "--show on the Overview tab needs PREFIX:FIELD, not " + field;
        if (!overview && (field.empty() || field.find(':') != std::string::npos))
            return "--show needs a field of the selected device, not " + field;
    }
    return {};
}

} // namespace

std::string CliUsage()
{
    return "usage: kalvex-cli dump DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--lang CODE]\n"
           "                          [--series PREFIX:FIELD]... [--threads N]\n"
           "                          [--formula PREFIX:NAME[UNIT]=EXPRESSION]...\n"
           "       kalvex-cli follow DIR [--from YYYY-MM-DD] [--series PREFIX:FIELD]...\n"
           "                          [--lang CODE] [--poll SECONDS]\n"
           "       kalvex-cli report DIR --out OUTDIR [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
           "                          [--window 1h|3h|8h|day|month|quarter|year]\n"
           "                          [--at YYYY-MM-DD[Thh:mm]] [--each] [--between FROM TO]\n"
           "                          [--device PREFIX|overview] [--show FIELD]...\n"
           "                          [--lang CODE] [--format jpg|bmp|png|pdf] [--threads N]\n"
           "                          [--formula PREFIX:NAME[UNIT]=EXPRESSION]...\n"
           "Both load the log files below DIR (two folder levels deep) for the period, as\n"
           "Kalvex does. The period defaults to all files found. CODE is 1-7 or de, en, en-GB,\n"
           "fr, es, it, pt, en-US (default en). --threads sets how many files are read at once\n"
           "(default: one per core). --formula adds a derived value to the devices of PREFIX,\n"
           "e.g. --formula '10:dT[K]=T1 - T2', besides those of the settings file.\n"
           "dump prints the analysis as one JSON document. --series adds the points of a\n"
           "field, e.g. --series 10:Ptag; it may be repeated.\n"
           "follow loads as dump does and prints one JSON line, then one for every device\n"
           "that got new records as the loggers write them (--series fields with their\n"
           "values, the day sums so far), until SIGINT or SIGTERM. --poll sets how often\n"
           "the files' sizes are looked at (default: FollowPollSeconds, 2).\n"
           "report writes what the analysis window shows into OUTDIR: chart.jpg (or the\n"
           "--format), table.csv and report.json. --device selects a device tab (default:\n"
           "the first device) or the Overview tab; each --show ticks a value of it (on the\n"
           "Overview tab as PREFIX:FIELD, e.g. --show 10:Ptag). --window chooses the time\n"
           "window (default day), --at moves to the one that holds the date or time, --each\n"
           "writes one set per slider position into OUTDIR/<name>/ and an index.json.\n"
           "--between sets the markers A and B at FROM and TO (YYYY-MM-DDThh:mm, inside the\n"
           "window) and adds what they measure to report.json.\n"
           "kalvex-cli --version prints the version.\n";
}

TCliCommand ParseCliArguments(const std::vector<std::string>& args)
{
    TCliCommand command;
    if (args.empty()) {
        command.error = "no command given";
    } else if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        command.help = true;
    } else if (args[0] == "--version") {
        command.version = true;
    } else if (args[0] == "dump") {
        TDumpRequest request;
        command.error = ParseDump(args, request);
        if (command.error.empty())
            command.dump = std::move(request);
    } else if (args[0] == "follow") {
        TFollowRequest request;
        command.error = ParseFollow(args, request);
        if (command.error.empty())
            command.follow = std::move(request);
    } else if (args[0] == "report") {
        TReportRequest request;
        command.error = ParseReport(args, request);
        if (command.error.empty())
            command.report = std::move(request);
    } else {
        command.error = "unknown command " + args[0];
    }
    return command;
}

std::string FormatCliDateTime(TDateTime t)
{
    return FormatDateTime("yyyy-mm-dd'T'hh:nn", t);
}
