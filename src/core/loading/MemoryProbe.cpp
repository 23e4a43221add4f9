#include "core/loading/MemoryProbe.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t MemoryKeptFree = 26214400; // 25 MiB
constexpr std::uint64_t MostAFileTakes = std::uint64_t(64) << 20;
constexpr std::uint64_t MostFilesApproved = 64;

std::optional<std::uint64_t> SystemAvailableMemory()
{
    char text[8192];
    const int fd = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const ssize_t n = ::read(fd, text, sizeof text);
    ::close(fd);
    if (n <= 0)
        return std::nullopt;
    return AvailableMemory(std::string_view(text, static_cast<size_t>(n)));
}

} // namespace

std::optional<std::uint64_t> AvailableMemory(std::string_view meminfo)
{
    constexpr std::string_view key = "MemAvailable:";
    const size_t at = meminfo.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = meminfo.substr(at + key.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    std::uint64_t kilobytes = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), kilobytes);
    if (error != std::errc() || end == rest.data())
        return std::nullopt;
    return kilobytes * 1024;
}

bool EnoughMemoryToLoad(std::string_view meminfo)
{
    const std::optional<std::uint64_t> available = AvailableMemory(meminfo);
    return !available || *available >= MemoryKeptFree;
}

TMemoryProbe::TMemoryProbe(Reading reading)
    : reading(reading ? std::move(reading) : Reading(SystemAvailableMemory))
{
}

bool TMemoryProbe::BeforeFile()
{
    if (filesApproved > 0) {
        --filesApproved;
        return true;
    }
    const std::optional<std::uint64_t> available = reading();
    if (!available) {
        // A system that does not say will not say for the next files either.
        filesApproved = static_cast<int>(MostFilesApproved);
        return true;
    }
    if (*available < MemoryKeptFree)
        return false;
    filesApproved = static_cast<int>(
        std::min((*available - MemoryKeptFree) / MostAFileTakes, MostFilesApproved));
    return true;
}
