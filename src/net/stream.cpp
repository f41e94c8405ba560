#include "net/stream.h"

#include "text/file_path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvia {
namespace {

AnsiString errorText(int err) {
    return std::strerror(err);
}

} // namespace

EFCreateError::EFCreateError(const AnsiString& fileName, const AnsiString& reason, int code)
    : EStreamError("Cannot create file \"" + fileName + "\". " + reason), code_(code) {}

EFOpenError::EFOpenError(const AnsiString& fileName, const AnsiString& reason)
    : EStreamError("Cannot open file \"" + fileName + "\". " + reason) {}

// ---- memory

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t n =
        std::clamp<std::int64_t>(Size() - position_, 0, std::max<std::int64_t>(count, 0));
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, std::size_t(n));
    position_ += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0)
        return;
    const std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(std::size_t(end));
    std::memcpy(data_.data() + position_, buffer, std::size_t(count));
    position_ = end;
}

void TMemoryStream::SetPosition(std::int64_t position) {
    position_ = std::max<std::int64_t>(position, 0);
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(std::size_t(std::max<std::int64_t>(size, 0)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

// ---- file

TFileStream::TFileStream(const AnsiString& fileName, Mode mode) : fileName_(fileName) {
    const std::string path = text::toFileSystem(fileName);
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Create:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    case Mode::CreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
        break;
    case Mode::OpenRead:
        flags |= O_RDONLY;
        break;
    case Mode::OpenWrite:
        flags |= O_RDWR;
        break;
    }
    do {
        fd_ = ::open(path.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        if (mode == Mode::Create || mode == Mode::CreateNew)
            throw EFCreateError(fileName, errorText(errno), errno);
        throw EFOpenError(fileName, errorText(errno));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

void TFileStream::failWrite(int err) const {
    throw EStreamError("Cannot write to file \"" + fileName_ + "\". " + errorText(err));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t r = ::pread(fd_, out + done, std::size_t(count - done), position_ + done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            throw EStreamError("Cannot read file \"" + fileName_ + "\". " + errorText(errno));
        if (r == 0)
            break;
        done += r;
    }
    position_ += done;
    return done;
}

void TFileStream::Write(const void* buffer, std::int64_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t r = ::pwrite(fd_, in + done, std::size_t(count - done), position_ + done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            failWrite(errno);
        if (r == 0)
            failWrite(ENOSPC);
        done += r;
    }
    position_ += done;
}

void TFileStream::SetPosition(std::int64_t position) {
    position_ = std::max<std::int64_t>(position, 0);
}

void TFileStream::Sync() {
    int r = 0;
    do {
        r = ::fsync(fd_);
    } while (r != 0 && errno == EINTR);
    if (r != 0)
        failWrite(errno);
}

void TFileStream::StartWriteBack(std::int64_t offset, std::int64_t count) {
    // Only a hint: a file system without it writes back later on its own.
    ::sync_file_range(fd_, offset, count, SYNC_FILE_RANGE_WRITE);
}

std::int64_t TFileStream::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return 0;
    return st.st_size;
}

void TFileStream::SetSize(std::int64_t size) {
    size = std::max<std::int64_t>(size, 0);
    int r = 0;
    do {
        r = ::ftruncate(fd_, size);
    } while (r != 0 && errno == EINTR);
    if (r != 0)
        failWrite(errno);
    position_ = std::min(position_, size);
}

} // namespace zorvia
