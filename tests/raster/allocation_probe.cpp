#include "raster/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace qm::test {

namespace {

std::atomic<size_t> largest{0};

void Note(size_t size) {
    size_t seen = largest.load();
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
}

}  // namespace

void ResetLargestAllocation() {
    largest = 0;
}
size_t LargestAllocation() {
    return largest.load();
}

}  // namespace qm::test

// The replaced global allocation functions: plain malloc and free, plus the note. The nothrow
// forms of the standard library call these.
void* operator new(std::size_t size) {
    qm::test::Note(size);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
