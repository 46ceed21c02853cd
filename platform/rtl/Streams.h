#pragma once
// Streams: TStream and its file, memory and resource kinds.

#include "Object.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vcl {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes: fmCreate creates or truncates; the others open an existing file.
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream : public TObject {
    VCL_DECLARE_CLASS(TStream, TObject)
public:
    // Reads up to Count bytes; returns how many were read (0 at the end).
    virtual int32_t Read(void* Buffer, int32_t Count) = 0;
    // Writes up to Count bytes; returns how many were written.
    virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t GetSize();
    virtual void SetSize(int64_t NewSize);

    // Reads exactly Count bytes or raises EReadError "Stream read error".
    void ReadBuffer(void* Buffer, int32_t Count);
    // Writes exactly Count bytes or raises EWriteError "Stream write error".
    void WriteBuffer(const void* Buffer, int32_t Count);
    // Message, a read or write error of this stream, with what the stream knows of its cause.
    virtual AnsiString ErrorMessage(const AnsiString& Message) const { return Message; }
    // Copies Count bytes from Source (all of it from its start when Count is 0); a short source
    // raises EReadError.
    int64_t CopyFrom(TStream* Source, int64_t Count);
};

// A stream on a file (POSIX descriptor). The share modes are accepted and ignored. Open failures
// raise EFOpenError ("Cannot open file \"%s\". %s") and create failures EFCreateError ("Cannot
// create file \"%s\". %s"), with the system's reason.
class TFileStream : public TStream {
    VCL_DECLARE_CLASS(TFileStream, TStream)
public:
    TFileStream(const AnsiString& FileName, uint16_t Mode);
    ~TFileStream() override;

    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    // Forces written data to the storage device; raises EWriteError when that fails.
    void Flush();
    const AnsiString& GetFileName() const { return fileName_; }
    int Handle() const { return fd_; }
    // Names the file and the system's reason for the last short read or write.
    AnsiString ErrorMessage(const AnsiString& Message) const override;

protected:
    // For streams that open the file themselves.
    explicit TFileStream(const AnsiString& FileName) : fileName_(FileName) {}

    AnsiString fileName_;
    int fd_ = -1;
    int lastError_ = 0; // errno of the last short read or write; 0 when a read hit the end
};

// Saves a file as a whole: what is written goes to a temporary file beside the target, which
// replaces the target, with its permissions and owner, only on Commit. A save through a symbolic
// link writes the file the link points to, also one that does not exist yet. Where the file
// cannot be replaced that way (its folder is not writable, its owner cannot be kept, it has
// other hard links), the new content is kept in memory and Commit writes it over the old file,
// after reserving the room it needs, and puts the old bytes back when a write still fails, so a
// failed save leaves the old file as it was. A file that is not a regular one (a device, a pipe)
// is written directly. Opening raises EFCreateError where fmCreate would fail; a
// write-protected file is refused. Commit raises unless the file was saved; a stream freed
// without Commit leaves an existing file as it was and removes a file it created.
class TMemoryStream;

class TSaveFileStream : public TFileStream {
    VCL_DECLARE_CLASS(TSaveFileStream, TFileStream)
public:
    explicit TSaveFileStream(const AnsiString& FileName);
    ~TSaveFileStream() override;

    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    void Commit();
    // False when the file is written in place.
    bool Replaces() const { return !temp_.empty(); }

private:
    void openInPlace();
    void commitInPlace();

    AnsiString target_; // FileName with its symbolic links followed
    AnsiString temp_;   // the file that replaces target_, empty when writing in place
    bool created_ = false;
    bool regular_ = true;
    std::unique_ptr<TMemoryStream> pending_; // in place: the new content until Commit
    bool committed_ = false;
};

class TCustomMemoryStream : public TStream {
    VCL_DECLARE_CLASS(TCustomMemoryStream, TStream)
public:
    int32_t Read(void* Buffer, int32_t Count) override;
    // The position may be set beyond the end (reads there return nothing; a write extends the
    // stream), but never before the start.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t GetSize() override { return size_; }
    const void* GetMemory() const { return memory_; }
    void SaveToStream(TStream* Stream);
    void SaveToFile(const AnsiString& FileName);

protected:
    void SetPointer(const void* Ptr, int64_t Size);
    const void* memory_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    VCL_DECLARE_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;
    // Writing beyond the end fills the gap with zero bytes; an allocation failure raises
    // EStreamError ("Out of memory while expanding memory stream").
    int32_t Write(const void* Buffer, int32_t Count) override;
    void SetSize(int64_t NewSize) override;
    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const AnsiString& FileName);
    void* Memory() { return data_.data(); }
    // The whole contents as bytes.
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<uint8_t> data_;
};

// A read-only stream over a named resource of the program (see Resources.h); a missing resource
// raises EResNotFound ("Resource %s not found").
class TResourceStream : public TCustomMemoryStream {
    VCL_DECLARE_CLASS(TResourceStream, TCustomMemoryStream)
public:
    TResourceStream(const AnsiString& ResName, const AnsiString& ResType);
    // Raises EStreamError: resources are read-only.
    int32_t Write(const void* Buffer, int32_t Count) override;
};

} // namespace vcl
