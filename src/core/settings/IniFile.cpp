#include "core/settings/IniFile.h"

#include "core/settings/FileReplacement.h"

#include "core/base/KalvexError.h"
#include "core/base/RegularFile.h"

namespace {

// Far more than any settings file holds; anything larger is not one and is not read.
constexpr off_t MaxSettingsFileSize = 64 * 1024 * 1024;

} // namespace

TIniFile::TIniFile(std::string path)
    : path(std::move(path))
{
}

TIniFile::Stamp TIniFile::StampOf(const struct stat& status)
{
    Stamp stamp;
    stamp.exists = true;
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.modifiedNs
        = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

TIniFile::Stamp TIniFile::StampOnDisk() const
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return {};
    return StampOf(status);
}

TIniFile::ReadResult TIniFile::ReadDocument(TIniDocument& document, Stamp& stamp) const
{
    const TFileRead file = ReadRegularFile(path, MaxSettingsFileSize);
    if (file.status == TFileReadStatus::Missing) {
        stamp = {};
        return ReadResult::Missing;
    }
    // Half a file would lose the other half's keys at the next write.
    if (file.status != TFileReadStatus::Read || !file.complete)
        return ReadResult::Unreadable;
    stamp = StampOf(file.info);
    document = TIniDocument::Parse(file.bytes);
    return ReadResult::Read;
}

const TIniDocument& TIniFile::Current() const
{
    if (cacheStamp && *cacheStamp == StampOnDisk())
        return cache;
    TIniDocument fresh;
    Stamp stamp;
    // A file that cannot be read keeps what was read before.
    if (ReadDocument(fresh, stamp) != ReadResult::Unreadable) {
        cache = std::move(fresh);
        cacheStamp = stamp;
    }
    return cache;
}

void TIniFile::Update(const std::function<void(TIniDocument&)>& edit)
{
    TIniDocument fresh;
    Stamp stamp;
    // A file that exists but cannot be read must not be replaced by the edited keys alone.
    if (ReadDocument(fresh, stamp) != ReadResult::Unreadable) {
        edit(fresh);
        if (ReplaceFileContents(path, fresh.Serialize())) {
            cache = std::move(fresh);
            cacheStamp = StampOnDisk();
            return;
        }
    }
    Current();
    edit(cache);
    Fail(TextId::TxtIniAccessFailed);
}
