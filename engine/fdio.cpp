#include "engine/fdio.h"

#include <cerrno>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace zelo {

namespace {

constexpr int kBufferBytes = 1 << 16;

struct FdIo
{
    int fd;
    int64_t pos = 0;
};

int readFd(void *opaque, uint8_t *buf, int size)
{
    auto *io = static_cast<FdIo *>(opaque);
    ssize_t got;
    do {
        got = ::pread(io->fd, buf, size_t(size), io->pos);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return AVERROR(errno);
    if (got == 0)
        return AVERROR_EOF;
    io->pos += got;
    return int(got);
}

int writeFd(void *opaque, uint8_t *buf, int size)
{
    auto *io = static_cast<FdIo *>(opaque);
    for (int done = 0; done < size;) {
        const ssize_t put = ::pwrite(io->fd, buf + done, size_t(size - done), io->pos);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? AVERROR(errno) : AVERROR(EIO);
        done += int(put);
        io->pos += put;
    }
    return size;
}

int64_t seekFd(void *opaque, int64_t offset, int whence)
{
    auto *io = static_cast<FdIo *>(opaque);
    struct stat st;
    const bool needsSize = (whence & AVSEEK_SIZE) || (whence & ~AVSEEK_FORCE) == SEEK_END;
    if (needsSize && ::fstat(io->fd, &st) != 0)
        return AVERROR(errno);
    if (whence & AVSEEK_SIZE)
        return st.st_size;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += io->pos;
        break;
    case SEEK_END:
        offset += st.st_size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (offset < 0)
        return AVERROR(EINVAL);
    return io->pos = offset;
}

} // namespace

AVIOContext *openFdIo(int fd, bool write)
{
    auto *io = new (std::nothrow) FdIo{fd};
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferBytes));
    AVIOContext *pb = io && buffer ? avio_alloc_context(buffer, kBufferBytes, write ? 1 : 0, io,
                                                        readFd, write ? writeFd : nullptr, seekFd)
                                   : nullptr;
    if (!pb) {
        av_free(buffer);
        delete io;
    }
    return pb;
}

int closeFdIo(AVIOContext **pb)
{
    if (!*pb)
        return 0;
    avio_flush(*pb);
    const int err = (*pb)->error;
    delete static_cast<FdIo *>((*pb)->opaque);
    av_freep(&(*pb)->buffer);
    avio_context_free(pb);
    return err;
}

} // namespace zelo
