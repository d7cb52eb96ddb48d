#pragma once

#include <QtGlobal>

#include <cstddef>
#include <new>
#include <utility>

#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
#include <sys/mman.h>
#define SCOREWRIGHT_HUGE_PAGES
#endif

// The allocator of the store's large arrays (match records, line-up entries, events):
// - blocks of 2 MiB and more are mapped on their own and ask for transparent huge pages, so that
//   filling an array of a large database costs a page fault every 2 MiB instead of every 4 KB;
// - resize() leaves new elements uninitialised (they are plain numbers the reader overwrites), so
//   that making room for a whole file touches no memory until each core writes its share; the
//   mappings are not counted against the system's commit limit until written, so room for as
//   much as a file could hold costs nothing but addresses.
// Sanitizer builds use the ordinary heap, where every access is checked.
template <typename T> class StoreAllocator
{
public:
    using value_type = T;

    StoreAllocator() = default;
    template <typename U> StoreAllocator(const StoreAllocator<U> &) noexcept {}

    T *allocate(std::size_t n)
    {
#ifdef SCOREWRIGHT_HUGE_PAGES
        const std::size_t bytes = mappedSize(n);
        if (bytes >= hugePage) {
            void *p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
            if (p == MAP_FAILED)
                throw std::bad_alloc();
            ::madvise(p, bytes, MADV_HUGEPAGE);
            return static_cast<T *>(p);
        }
#endif
        return static_cast<T *>(::operator new(n * sizeof(T)));
    }

    void deallocate(T *p, [[maybe_unused]] std::size_t n) noexcept
    {
#ifdef SCOREWRIGHT_HUGE_PAGES
        const std::size_t bytes = mappedSize(n);
        if (bytes >= hugePage) {
            ::munmap(p, bytes);
            return;
        }
#endif
        ::operator delete(p);
    }

    // Default-initialisation: nothing is written for plain numbers.
    template <typename U> void construct(U *p) noexcept
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <typename U, typename... Args> void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }

    friend bool operator==(const StoreAllocator &, const StoreAllocator &)
    {
        return true;
    }
    friend bool operator!=(const StoreAllocator &, const StoreAllocator &)
    {
        return false;
    }

private:
    static constexpr std::size_t hugePage = 2 * 1024 * 1024;
    // From this size on a block takes whole huge pages: clearing one costs less than the page
    // faults of even a quarter of it.
    static constexpr std::size_t mapFrom = hugePage / 4;
    // Whole huge pages for a large block; the plain size for a small one.
    static std::size_t mappedSize(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        return bytes >= mapFrom ? (bytes + hugePage - 1) / hugePage * hugePage : bytes;
    }
};
