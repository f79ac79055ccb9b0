#include "document/data_pool.h"

#include <limits>
#include <new>

#include "util/message_boxes.h"

namespace varnex {
namespace {

constexpr std::int64_t kSetTextBytes = 512;  // title and name, 256 bytes each
constexpr std::int64_t kWorkEntryBytes = 72;
// Beyond this count the byte figure of a set would not fit 64 bits.
constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max() / 32;

}  // namespace

void DataPool::account(std::int64_t bytes) {
    m_blocks += 1;
    m_bytes += bytes + kHeaderBytes;
}

std::shared_ptr<SetStorage> DataPool::allocateSet(std::int64_t count) { return allocateSet(count, count); }

void DataPool::accountKeptSet(std::int64_t count) { account((2 * count + 2) * 8 + kSetTextBytes); }

std::shared_ptr<SetStorage> DataPool::allocateSet(std::int64_t count, std::int64_t capacity) {
    return allocate(count, capacity, true);
}

std::shared_ptr<SetStorage> DataPool::allocateSetToFill(std::int64_t count, std::int64_t capacity) {
    return allocate(count, capacity, false);
}

std::shared_ptr<SetStorage> DataPool::allocate(std::int64_t count, std::int64_t capacity, bool zeroed) {
    if (count < 0) {
        m_messages.fatal("Alloc: Invalid patrameter!");
        return nullptr;
    }
    try {
        if (count > kMaxCount || count + 1 > static_cast<std::int64_t>(std::vector<double>().max_size())) {
            throw std::bad_alloc();
        }
        auto storage = std::make_shared<SetStorage>();
        if (capacity > count && capacity <= kMaxCount && capacity + 1 <= static_cast<std::int64_t>(std::vector<double>().max_size())) {
            storage->x.reserve(static_cast<std::size_t>(capacity + 1));
            storage->y.reserve(static_cast<std::size_t>(capacity + 1));
        }
        if (zeroed) {
            storage->x.assign(static_cast<std::size_t>(count + 1), 0.0);
            storage->y.assign(static_cast<std::size_t>(count + 1), 0.0);
        } else {
            storage->x.resize(static_cast<std::size_t>(count + 1));
            storage->y.resize(static_cast<std::size_t>(count + 1));
            storage->x[0] = 0;
            storage->y[0] = 0;
        }
        account((2 * count + 2) * 8 + kSetTextBytes);
        return storage;
    } catch (const std::bad_alloc&) {
        m_messages.fatal("not enough memory!");
        return nullptr;
    }
}

void DataPool::reserveWorkSpace(std::int32_t maxCount) {
    if (maxCount < 0) {
        m_messages.fatal("Alloc: Invalid patrameter!");
        return;
    }
    m_work.clear();
    m_work.shrink_to_fit();
    m_workEntries = maxCount + 1;
    account(static_cast<std::int64_t>(m_workEntries) * kWorkEntryBytes);
}

std::span<double> DataPool::workSpace() {
    const auto wanted = static_cast<std::size_t>(m_workEntries) * (kWorkEntryBytes / sizeof(double));
    if (m_work.size() != wanted) {
        try {
            m_work.assign(wanted, 0.0);
        } catch (const std::bad_alloc&) {
            m_work.clear();
            m_messages.fatal("not enough memory!");
        }
    }
    return m_work;
}

void DataPool::releaseAll() {
    m_blocks = 0;
    m_bytes = 0;
    m_workEntries = 0;
    m_work.clear();
    m_work.shrink_to_fit();
}

void DataPool::takeOver(DataPool& other) {
    if (&other == this) return;
    m_blocks = other.m_blocks;
    m_bytes = other.m_bytes;
    m_workEntries = other.m_workEntries;
    m_work = std::move(other.m_work);
    other.releaseAll();
}

}  // namespace varnex
