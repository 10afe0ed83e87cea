// SPDX-FileCopyrightText: 2026 The Korvid developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own malloc family, forwarding to the C library's and counting what is in
// use, so a benchmark can read the peak memory of a load without sampling.
#include "MallocCounter.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <malloc.h>

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);
}

namespace {

std::atomic<std::size_t> s_inUse{0};
std::atomic<std::size_t> s_peak{0};
std::atomic<std::size_t> s_low{0};
std::atomic<std::size_t> s_rise{0};

void raise(std::atomic<std::size_t> &most, std::size_t value)
{
    std::size_t seen = most.load();
    while (value > seen && !most.compare_exchange_weak(seen, value)) {
    }
}

void *counted(void *p)
{
    if (p) {
        const std::size_t now = s_inUse += malloc_usable_size(p);
        raise(s_peak, now);
        const std::size_t low = s_low.load();
        if (now > low)
            raise(s_rise, now - low);
    }
    return p;
}

void uncount(void *p)
{
    if (p) {
        const std::size_t now = s_inUse -= malloc_usable_size(p);
        std::size_t low = s_low.load();
        while (now < low && !s_low.compare_exchange_weak(low, now)) {
        }
    }
}

} // namespace

extern "C" {

void *malloc(size_t size)
{
    return counted(__libc_malloc(size));
}

void *calloc(size_t count, size_t size)
{
    return counted(__libc_calloc(count, size));
}

void *realloc(void *p, size_t size)
{
    uncount(p);
    void *q = __libc_realloc(p, size);
    if (!q && size) {
        // The old block is still there.
        counted(p);
        return nullptr;
    }
    return counted(q);
}

void free(void *p)
{
    uncount(p);
    __libc_free(p);
}

void *memalign(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

void *aligned_alloc(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void **out, size_t alignment, size_t size)
{
    void *p = __libc_memalign(alignment, size);
    if (!p)
        return ENOMEM;
    *out = counted(p);
    return 0;
}

} // extern "C"

std::size_t HeapInUse()
{
    return s_inUse.load();
}

std::size_t HeapPeak()
{
    return s_peak.load();
}

void ResetHeapPeak()
{
    const std::size_t now = s_inUse.load();
    s_peak.store(now);
    s_low.store(now);
    s_rise.store(0);
}

std::size_t HeapRise()
{
    return s_rise.load();
}
