#pragma once
// A full disk on demand, even for root: while one of these lives, no write may make a
// file of this process larger than Bytes, and such a write fails with EFBIG instead of
// raising SIGXFSZ.

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(size_t Bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        FSavedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit Limit = FSaved;
        Limit.rlim_cur = Bytes;
        setrlimit(RLIMIT_FSIZE, &Limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FSavedHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit FSaved;
    void (*FSavedHandler)(int);
};
