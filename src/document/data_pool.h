// The data pool: where every point array, name and title of the loaded data sets comes from.
//
// Design: each data set's storage is one reference-counted block (SetStorage). The pool counts the
// blocks it hands out and the bytes they take, by the program's own rule (n bytes plus an 8-byte link
// header per block; (2 × count + 2) × 8 + 512 bytes for a set; (M + 1) × 72 bytes of curve work
// space after a load), and releaseAll() drops its claim on them and resets the totals. A Document that
// still refers to a released block (a view other than the current one, the undo copy) keeps that block
// alive until its own records are rebuilt, so no view can ever read memory that a load released; the
// loader refreshes the other views' references after every load so that old arrays are freed at once.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "document/model.h"

namespace varnex {

class MessageBoxes;

class DataPool {
public:
    // messages receives the fatal errors; it must outlive the pool.
    explicit DataPool(MessageBoxes& messages) : m_messages(messages) {}

    DataPool(const DataPool&) = delete;
    DataPool& operator=(const DataPool&) = delete;

    // Storage for one data set of `count` points: empty title and name, x and y zero-filled with
    // count + 1 elements. A negative count ("Alloc: Invalid patrameter!") or a heap failure ("not
    // enough memory!") is reported as fatal and gives null.
    std::shared_ptr<SetStorage> allocateSet(std::int64_t count);
    // The same with room for `capacity` points (at least count) to be added later without moving the
    // arrays (resize within their capacity): room that is never written takes no memory of the
    // system. Only count is accounted.
    std::shared_ptr<SetStorage> allocateSet(std::int64_t count, std::int64_t capacity);
    // The same with the points left unset (element 0 is 0), for a reader that writes every point.
    std::shared_ptr<SetStorage> allocateSetToFill(std::int64_t count, std::int64_t capacity);
    // Accounts a set of `count` points that a load keeps from before instead of taking it anew, so
    // that the totals are those of a load that took it. REQUIRES: count >= 0
    void accountKeptSet(std::int64_t count);

    // Accounts the curve work space for sets of at most maxCount points ((maxCount + 1) × 72 bytes).
    // The memory itself is taken only when workSpace() is first asked for.
    void reserveWorkSpace(std::int32_t maxCount);
    // Number of entries of the work space (maxCount + 1), 0 before reserveWorkSpace.
    std::int32_t workSpaceEntries() const { return m_workEntries; }
    // Nine doubles per entry, zero-filled; empty without a reservation or after a heap failure.
    std::span<double> workSpace();

    // Releases every block (the pool's claim on them) and resets both totals.
    void releaseAll();
    // Takes over the totals and the work space of `other` (a pool a load filled on another thread,
    // whose sets now replace this pool's); other is left as after releaseAll.
    void takeOver(DataPool& other);

    std::int64_t blockCount() const { return m_blocks; }
    // Bytes taken, headers included: the figure of the memory report.
    std::int64_t bytesTaken() const { return m_bytes; }

private:
    static constexpr std::int64_t kHeaderBytes = 8;
    std::shared_ptr<SetStorage> allocate(std::int64_t count, std::int64_t capacity, bool zeroed);
    void account(std::int64_t bytes);

    MessageBoxes& m_messages;
    std::int64_t m_blocks = 0;
    std::int64_t m_bytes = 0;
    std::int32_t m_workEntries = 0;
    std::vector<double> m_work;
};

}  // namespace varnex
