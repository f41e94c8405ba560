#pragma once

#include "text/exception.h"

#include <cstdint>
#include <vector>

namespace zorvia {

// A stream failed: a file could not be created or opened, or a write,
// resize or position change did not go through.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFCreateError : public EStreamError {
public:
    EFCreateError(const AnsiString& fileName, const AnsiString& reason, int code = 0);
    // The system's error number, 0 when none was given.
    int code() const { return code_; }

private:
    int code_ = 0;
};

class EFOpenError : public EStreamError {
public:
    EFOpenError(const AnsiString& fileName, const AnsiString& reason);
};

// A sequence of bytes with a position, read and written at the position.
class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to `count` bytes; returns how many were read.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes all `count` bytes or raises EStreamError.
    virtual void Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    // Grows (with zero bytes) or cuts the stream; a position beyond the new
    // end moves to the end.
    virtual void SetSize(std::int64_t size) = 0;

protected:
    TStream() = default;
    TStream(const TStream&) = default;
    TStream& operator=(const TStream&) = default;
};

// A stream held in memory.
class TMemoryStream final : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    void Write(const void* buffer, std::int64_t count) override;
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    const char* Memory() const { return data_.data(); }
    // The whole content as text.
    AnsiString DataString() const { return AnsiString(data_.begin(), data_.end()); }
    void Clear();

private:
    std::vector<char> data_;
    std::int64_t position_ = 0;
};

// A stream on a file. The path is text in the ANSI code page.
class TFileStream final : public TStream {
public:
    enum class Mode {
        Create,    // create or replace, read and write
        CreateNew, // create a file that does not exist yet, read and write;
                   // any entry of that name, a symbolic link included, fails
        OpenRead,  // existing file, read only
        OpenWrite, // existing file, read and write
    };

    TFileStream(const AnsiString& fileName, Mode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    void Write(const void* buffer, std::int64_t count) override;
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override;
    void SetSize(std::int64_t size) override;

    // Puts what was written on the disk before it returns; raises
    // EStreamError when the system cannot.
    void Sync();
    // Starts writing `count` bytes from `offset` to the disk without waiting
    // for them, so that a later Sync has less to wait for.
    void StartWriteBack(std::int64_t offset, std::int64_t count);

    const AnsiString& FileName() const { return fileName_; }

private:
    [[noreturn]] void failWrite(int err) const;

    AnsiString fileName_;
    int fd_ = -1;
    std::int64_t position_ = 0;
};

} // namespace zorvia
