#include "model/match.h"

#include <mutex>
#include <new>

#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
#include <sys/mman.h>
#define SCOREWRIGHT_MATCH_POOL
#endif

#ifdef SCOREWRIGHT_MATCH_POOL

namespace {

// Fixed-size slots carved from 2 MiB blocks that ask the kernel for transparent huge pages, so
// that filling a store of 200,000 records faults in a hundred pages rather than forty thousand.
// Freed slots are kept for the next records; blocks live as long as the program.
class MatchPool
{
public:
    void *allocate()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free) {
            Slot *slot = m_free;
            m_free = slot->next;
            return slot;
        }
        if (m_next == m_end)
            grow();
        void *slot = m_next;
        m_next += slotSize;
        return slot;
    }

    void release(void *pointer)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Slot *slot = static_cast<Slot *>(pointer);
        slot->next = m_free;
        m_free = slot;
    }

private:
    struct Slot
    {
        Slot *next;
    };
    static constexpr std::size_t slotSize = (sizeof(MatchData) + alignof(std::max_align_t) - 1) /
                                            alignof(std::max_align_t) * alignof(std::max_align_t);
    static constexpr std::size_t blockSize = std::size_t(2) << 20;

    void grow()
    {
        void *block =
            mmap(nullptr, blockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            block = ::operator new(blockSize); // throws std::bad_alloc when memory is out
        else
            madvise(block, blockSize, MADV_HUGEPAGE); // a hint; ordinary pages serve as well
        m_next = static_cast<char *>(block);
        m_end = m_next + blockSize / slotSize * slotSize;
    }

    std::mutex m_mutex;
    Slot *m_free = nullptr;
    char *m_next = nullptr;
    char *m_end = nullptr;
};

MatchPool &pool()
{
    // Never destroyed: records may outlive every static object.
    static MatchPool *instance = new MatchPool;
    return *instance;
}

} // namespace

void *MatchData::operator new(std::size_t size)
{
    return size == sizeof(MatchData) ? pool().allocate() : ::operator new(size);
}

void MatchData::operator delete(void *pointer, std::size_t size) noexcept
{
    if (size == sizeof(MatchData))
        pool().release(pointer);
    else
        ::operator delete(pointer);
}

#else

// Sanitizer builds and other systems use the ordinary heap, where every record is checked.
void *MatchData::operator new(std::size_t size)
{
    return ::operator new(size);
}

void MatchData::operator delete(void *pointer, std::size_t) noexcept
{
    ::operator delete(pointer);
}

#endif
