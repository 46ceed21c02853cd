#include "Streams.h"

#include "RTLConsts.h"
#include "Resources.h"
#include "TypInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vcl {

VCL_DEFINE_PLAIN_CLASS(TStream, TObject)
VCL_DEFINE_PLAIN_CLASS(TFileStream, TStream)
VCL_DEFINE_PLAIN_CLASS(TSaveFileStream, TFileStream)
VCL_DEFINE_PLAIN_CLASS(TCustomMemoryStream, TStream)
VCL_DEFINE_PLAIN_CLASS(TMemoryStream, TCustomMemoryStream)
VCL_DEFINE_PLAIN_CLASS(TResourceStream, TCustomMemoryStream)

namespace {

// Adds without overflowing: positions are clamped to the int64 range instead of wrapping.
int64_t addClamped(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_add_overflow(a, b, &r)) return b > 0 ? INT64_MAX : INT64_MIN;
    return r;
}

} // namespace

// --- TStream ---------------------------------------------------------------------------------

int64_t TStream::GetSize() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(int64_t NewSize) {
    (void)NewSize;
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(ErrorMessage(LoadResString(rtlconsts::SReadError)));
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(ErrorMessage(LoadResString(rtlconsts::SWriteError)));
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    const int64_t result = Count;
    constexpr int32_t chunk = 64 * 1024;
    std::vector<uint8_t> buf(
        static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(Count, 0), chunk)));
    while (Count > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, chunk));
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        Count -= n;
    }
    return result;
}

// --- TFileStream -----------------------------------------------------------------------------

TFileStream::TFileStream(const AnsiString& FileName, uint16_t Mode) : fileName_(FileName) {
    if (Mode == fmCreate) {
        fd_ = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0)
            throw EFCreateError(
                FmtLoadStr(rtlconsts::SFCreateErrorEx, {FileName, SysErrorMessage(errno)}));
        return;
    }
    int flags = O_CLOEXEC;
    switch (Mode & 0x3) {
    case fmOpenWrite:
        flags |= O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    fd_ = ::open(FileName.c_str(), flags);
    int err = fd_ < 0 ? errno : 0;
    if (fd_ >= 0) {
        // A directory opens read-only on POSIX systems but is no file to stream from.
        struct stat st;
        if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            err = EISDIR;
        }
    }
    if (fd_ < 0)
        throw EFOpenError(FmtLoadStr(rtlconsts::SFOpenErrorEx, {FileName, SysErrorMessage(err)}));
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
    int32_t done = 0;
    auto* p = static_cast<uint8_t*>(Buffer);
    while (done < Count) {
        ssize_t n = ::read(fd_, p + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            lastError_ = n < 0 ? errno : 0;
            break;
        }
        done += static_cast<int32_t>(n);
    }
    return done;
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
    int32_t done = 0;
    auto* p = static_cast<const uint8_t*>(Buffer);
    while (done < Count) {
        ssize_t n = ::write(fd_, p + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write that takes nothing has run out of room.
            lastError_ = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<int32_t>(n);
    }
    return done;
}

AnsiString TFileStream::ErrorMessage(const AnsiString& Message) const {
    return FmtLoadStr(
        rtlconsts::SFileStreamError,
        {Message, fileName_,
         lastError_ ? SysErrorMessage(lastError_) : LoadResString(rtlconsts::SFileEndsEarly)});
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, static_cast<off_t>(Offset), whence);
}

void TFileStream::SetSize(int64_t NewSize) {
    int64_t pos = Seek(0, soCurrent);
    if (::ftruncate(fd_, static_cast<off_t>(NewSize)) != 0)
        throw EWriteError(
            FmtLoadStr(rtlconsts::SSetSizeError, {fileName_, SysErrorMessage(errno)}));
    if (pos > NewSize) Seek(NewSize, soBeginning);
}

void TFileStream::Flush() {
    if (::fsync(fd_) != 0)
        throw EWriteError(FmtLoadStr(rtlconsts::SFlushError, {fileName_, SysErrorMessage(errno)}));
}

// --- TSaveFileStream -------------------------------------------------------------------------

namespace {

[[noreturn]] void raiseCreateError(const AnsiString& FileName, int Error) {
    throw EFCreateError(FmtLoadStr(rtlconsts::SFCreateErrorEx, {FileName, SysErrorMessage(Error)}));
}

// The file a save through Name writes: symbolic links are followed to their end, also where the
// last one points to a file that does not exist yet. A loop is left to open() to report.
AnsiString followLinks(const AnsiString& Name) {
    AnsiString path = Name;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4095) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), &link[0], link.size());
        if (n <= 0) return path;
        link.resize(static_cast<size_t>(n));
        const size_t slash = path.rfind('/');
        if (link[0] != '/' && slash != AnsiString::npos) link = path.substr(0, slash + 1) + link;
        path = link;
    }
    return path;
}

AnsiString folderOf(const AnsiString& Path) {
    const size_t slash = Path.rfind('/');
    if (slash == AnsiString::npos) return ".";
    return slash == 0 ? AnsiString("/") : Path.substr(0, slash);
}

} // namespace

TSaveFileStream::TSaveFileStream(const AnsiString& FileName)
    : TFileStream(FileName), target_(followLinks(FileName)) {
    struct stat st;
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) raiseCreateError(FileName, EISDIR);
    // Replacing the file would get past its write protection, which opening it would not.
    if (exists && ::access(target_.c_str(), W_OK) != 0) raiseCreateError(FileName, errno);
    regular_ = !exists || S_ISREG(st.st_mode);
    if (!regular_ || (exists && st.st_nlink > 1)) {
        openInPlace();
        return;
    }

    // A short name, so that a target name of any allowed length leaves room for it.
    AnsiString temp = folderOf(target_) + "/.~sv" + "XXXXXX";
    fd_ = ::mkstemp(&temp[0]);
    if (fd_ < 0) {
        openInPlace();
        return;
    }
    temp_ = temp;
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
        if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
            ::fchown(fd_, st.st_uid, st.st_gid) != 0) {
            ::close(fd_);
            ::unlink(temp_.c_str());
            temp_.clear();
            openInPlace();
            return;
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // Only the permissions differ from what was asked if this fails; the file stays usable.
    const int chmodFailed = ::fchmod(fd_, mode);
    (void)chmodFailed;
}

void TSaveFileStream::openInPlace() {
    // Read access too where the file grants it, to put the old bytes back after a failed write.
    fd_ = ::open(target_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created_ = fd_ >= 0;
    if (fd_ < 0 && errno == EEXIST) fd_ = ::open(target_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0 && (errno == EACCES || errno == EPERM))
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) raiseCreateError(fileName_, errno);
    if (regular_) pending_ = std::make_unique<TMemoryStream>();
}

namespace {

// Writes Size bytes at Offset; 0 or the system's error number.
int writeAt(int Fd, const uint8_t* Data, size_t Size, off_t Offset) {
    while (Size > 0) {
        const ssize_t n = ::pwrite(Fd, Data, Size, Offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        Data += n;
        Size -= static_cast<size_t>(n);
        Offset += n;
    }
    return 0;
}

// Reads the whole file; false where it cannot be read.
bool readAll(int Fd, std::vector<uint8_t>& Data) {
    size_t done = 0;
    while (done < Data.size()) {
        const ssize_t n = ::pread(Fd, Data.data() + done, Data.size() - done, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void TSaveFileStream::commitInPlace() {
    const auto* data = static_cast<const uint8_t*>(pending_->GetMemory());
    const auto size = static_cast<size_t>(pending_->GetSize());
    struct stat st;
    if (::fstat(fd_, &st) != 0)
        throw EWriteError(FmtLoadStr(rtlconsts::SFlushError, {fileName_, SysErrorMessage(errno)}));
    std::vector<uint8_t> old(static_cast<size_t>(st.st_size));
    const bool restorable = readAll(fd_, old);
    auto fail = [&](int Error) {
        if (restorable) {
            const int restored = writeAt(fd_, old.data(), old.size(), 0);
            (void)restored; // the room for the old bytes was there before
        }
        const int cut = ::ftruncate(fd_, st.st_size);
        (void)cut;
        throw EWriteError(FmtLoadStr(rtlconsts::SFlushError, {fileName_, SysErrorMessage(Error)}));
    };
    // The room for the new content is taken before the first old byte changes, so that a full
    // disk fails the save here with the old file untouched.
    if (static_cast<off_t>(size) > st.st_size) {
        const int reserved = ::posix_fallocate(fd_, 0, static_cast<off_t>(size));
        if (reserved != 0) {
            const int cut = ::ftruncate(fd_, st.st_size);
            (void)cut;
            throw EWriteError(
                FmtLoadStr(rtlconsts::SFlushError, {fileName_, SysErrorMessage(reserved)}));
        }
    }
    if (const int error = writeAt(fd_, data, size, 0)) fail(error);
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0 || ::fsync(fd_) != 0) fail(errno);
}

TSaveFileStream::~TSaveFileStream() {
    if (committed_) return;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    else if (created_)
        ::unlink(target_.c_str());
}

int32_t TSaveFileStream::Read(void* Buffer, int32_t Count) {
    return pending_ ? pending_->Read(Buffer, Count) : TFileStream::Read(Buffer, Count);
}

int32_t TSaveFileStream::Write(const void* Buffer, int32_t Count) {
    return pending_ ? pending_->Write(Buffer, Count) : TFileStream::Write(Buffer, Count);
}

int64_t TSaveFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    return pending_ ? pending_->Seek(Offset, Origin) : TFileStream::Seek(Offset, Origin);
}

void TSaveFileStream::SetSize(int64_t NewSize) {
    if (pending_)
        pending_->SetSize(NewSize);
    else
        TFileStream::SetSize(NewSize);
}

void TSaveFileStream::Commit() {
    if (committed_) return;
    if (pending_)
        commitInPlace();
    else if (regular_)
        Flush();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        throw EWriteError(FmtLoadStr(rtlconsts::SFlushError, {fileName_, SysErrorMessage(errno)}));
    if (!temp_.empty()) {
        if (::rename(temp_.c_str(), target_.c_str()) != 0) raiseCreateError(fileName_, errno);
        temp_.clear();
        // The new name is on the disk too, not only the data.
        const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            const int synced = ::fsync(dir);
            (void)synced;
            ::close(dir);
        }
    }
    committed_ = true;
}

// --- TCustomMemoryStream ---------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(const void* Ptr, int64_t Size) {
    memory_ = Ptr;
    size_ = Size;
}

int32_t TCustomMemoryStream::Read(void* Buffer, int32_t Count) {
    if (position_ < 0 || Count <= 0 || position_ >= size_) return 0;
    int64_t n = std::min<int64_t>(size_ - position_, Count);
    std::memcpy(Buffer, static_cast<const uint8_t*>(memory_) + position_, static_cast<size_t>(n));
    position_ += n;
    return static_cast<int32_t>(n);
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? position_ : size_;
    position_ = std::max<int64_t>(addClamped(base, Offset), 0);
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
    const auto* p = static_cast<const uint8_t*>(memory_);
    int64_t left = size_;
    while (left > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(left, 1 << 30));
        Stream->WriteBuffer(p, n);
        p += n;
        left -= n;
    }
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
    TSaveFileStream f(FileName);
    SaveToStream(&f);
    f.Commit();
}

// --- TMemoryStream ---------------------------------------------------------------------------

void TMemoryStream::SetSize(int64_t NewSize) {
    if (NewSize < 0) NewSize = 0;
    try {
        data_.resize(static_cast<size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError(LoadResString(rtlconsts::SMemoryStreamError));
    } catch (const std::length_error&) {
        throw EStreamError(LoadResString(rtlconsts::SMemoryStreamError));
    }
    SetPointer(data_.data(), static_cast<int64_t>(data_.size()));
    if (position_ > size_) position_ = size_;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0 || position_ < 0) return 0;
    int64_t end = addClamped(position_, Count);
    if (end > size_) {
        int64_t pos = position_;
        SetSize(end);
        position_ = pos;
    }
    std::memcpy(data_.data() + position_, Buffer, static_cast<size_t>(Count));
    position_ = end;
    return Count;
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    int64_t count = Stream->GetSize();
    SetSize(count);
    position_ = 0;
    uint8_t* p = data_.data();
    while (count > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        Stream->ReadBuffer(p, n);
        p += n;
        count -= n;
    }
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

std::vector<uint8_t> TMemoryStream::Bytes() const {
    return data_;
}

// --- TResourceStream -------------------------------------------------------------------------

TResourceStream::TResourceStream(const AnsiString& ResName, const AnsiString& ResType) {
    TResourceData res = FindResourceData(ResType, ResName);
    SetPointer(res.Data, static_cast<int64_t>(res.Size));
}

int32_t TResourceStream::Write(const void* Buffer, int32_t Count) {
    (void)Buffer;
    (void)Count;
    throw EStreamError(LoadResString(rtlconsts::SCantWriteResourceStreamError));
}

} // namespace vcl
