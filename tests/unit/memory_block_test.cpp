// MemoryBlock over the in-memory arena, whose free pages are really inaccessible: a copy the
// class fails to check ends the test program.
#include "system/MemoryBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>

#include "fakes/FakeCache.h"

namespace {

using olvex::AddressOf;
using olvex::MemoryBlock;

template <size_t N>
using Bytes = std::array<unsigned char, N>;

template <size_t N>
Bytes<N> Filled(unsigned char byte) {
    Bytes<N> bytes;
    bytes.fill(byte);
    return bytes;
}

// The first N bytes of the block, read through the class; 0xAA bytes where it copied nothing.
template <size_t N>
Bytes<N> Contents(MemoryBlock& block) {
    Bytes<N> bytes = Filled<N>(0xAA);
    block.CopyOut(AddressOf(bytes), N);
    return bytes;
}

class MemoryBlockTest : public ::testing::Test {
  protected:
    // Puts length bytes at source into the block, as the cache's enumeration writes an entry.
    void Fill(MemoryBlock& block, uintptr_t source, uint32_t length) {
        memory.Copy(block.Address(), source, length);
    }
    fakes::FakeMemory memory;
};

TEST_F(MemoryBlockTest, AddressIsTheBlockWhileOneIsHeld) {
    MemoryBlock block(memory);
    EXPECT_EQ(block.Address(), 0u);
    block.Allocate(4096);
    EXPECT_NE(block.Address(), 0u);
    EXPECT_EQ(memory.LiveBlocks(), 1);
    block.Release();
    EXPECT_EQ(block.Address(), 0u);
    EXPECT_EQ(memory.LiveBlocks(), 0);
    block.Release();
    EXPECT_EQ(block.Address(), 0u);
    EXPECT_EQ(memory.LiveBlocks(), 0);
}

TEST_F(MemoryBlockTest, DestructionGivesTheBlockBack) {
    {
        MemoryBlock block(memory);
        block.Allocate(300);
        ASSERT_EQ(memory.LiveBlocks(), 1);
    }
    EXPECT_EQ(memory.LiveBlocks(), 0);
}

// Each block is given back before the next is taken; otherwise the 64 MB arena would run out
// long before the last call.
TEST_F(MemoryBlockTest, ThousandsOfAllocationsHoldOneBlockAtATime) {
    MemoryBlock block(memory);
    const int kCalls = 20000;
    for (int i = 0; i < kCalls; ++i) {
        block.Allocate(static_cast<uint32_t>(200 + (i * 37) % 9000));
        ASSERT_NE(block.Address(), 0u) << "call " << i;
        ASSERT_EQ(memory.LiveBlocks(), 1) << "call " << i;
    }
    EXPECT_EQ(memory.allocations, kCalls);
}

TEST_F(MemoryBlockTest, ARecordSurvivesARoundTripThroughTheBlock) {
    Bytes<84> record;
    for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<unsigned char>(i * 7 + 1);
    MemoryBlock block(memory);
    block.Allocate(84);
    Fill(block, AddressOf(record), 84);
    EXPECT_EQ(Contents<84>(block), record);
}

// An allocation reuses pages: what the previous block held must not show through.
TEST_F(MemoryBlockTest, ANewBlockStartsZeroed) {
    const Bytes<64> ones = Filled<64>(0xFF);
    MemoryBlock block(memory);
    block.Allocate(64);
    Fill(block, AddressOf(ones), 64);
    block.Allocate(64);
    EXPECT_EQ(Contents<64>(block), Filled<64>(0));
}

TEST_F(MemoryBlockTest, CopiesOverInaccessibleRangesAreSkipped) {
    const Bytes<16> pattern = Filled<16>(0x5A);
    MemoryBlock block(memory);
    block.Allocate(4096);
    Fill(block, AddressOf(pattern), 16);

    // To address 0.
    block.CopyOut(0, 84);
    // Past the end of the block's page into pages nobody holds.
    Bytes<8192> big = Filled<8192>(0x11);
    block.CopyOut(AddressOf(big), 8192);
    EXPECT_EQ(big, Filled<8192>(0x11));

    // A length of 0 passes every test and copies nothing.
    Bytes<16> untouched = Filled<16>(0);
    block.CopyOut(AddressOf(untouched), 0);
    block.CopyOut(0, 0);
    EXPECT_EQ(untouched, Filled<16>(0));
    EXPECT_EQ(Contents<16>(block), pattern);
}

TEST_F(MemoryBlockTest, WithoutABlockNothingIsCopied) {
    MemoryBlock block(memory);
    EXPECT_EQ(Contents<8>(block), Filled<8>(0xAA));  // never allocated

    memory.refuseAfter = 0;
    block.Allocate(100);
    EXPECT_EQ(block.Address(), 0u);
    EXPECT_EQ(Contents<8>(block), Filled<8>(0xAA));

    block.Allocate(0);  // refused by the system too
    EXPECT_EQ(block.Address(), 0u);
    EXPECT_EQ(memory.LiveBlocks(), 0);
}

TEST_F(MemoryBlockTest, ReadTextReadsUpToTheNul) {
    MemoryBlock block(memory);
    const char abc[] = "abc";
    EXPECT_EQ(block.ReadText(AddressOf(abc), 100), "abc");
    EXPECT_EQ(block.ReadText(0, 100), "");
    EXPECT_EQ(block.ReadText(AddressOf(abc), 0), "");

    // A string inside the block, as the cache entries hold theirs.
    const char text[] = "http://example.com/\0tail";
    block.Allocate(sizeof text);
    Fill(block, AddressOf(text), sizeof text);
    EXPECT_EQ(block.ReadText(block.Address(), sizeof text), "http://example.com/");
}

// Text that runs to the very end of the block, with no NUL, right before pages nobody holds.
TEST_F(MemoryBlockTest, ReadTextNeverGoesBeyondItsMaximum) {
    MemoryBlock block(memory);
    block.Allocate(fakes::FakeMemory::kPage);
    const char letters[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    Bytes<fakes::FakeMemory::kPage> page = Filled<fakes::FakeMemory::kPage>('x');
    std::memcpy(page.data() + page.size() - 6, letters, 6);
    Fill(block, AddressOf(page), static_cast<uint32_t>(page.size()));
    const uintptr_t tail = block.Address() + page.size() - 6;

    EXPECT_EQ(block.ReadText(tail, 3), "abc");
    EXPECT_EQ(block.ReadText(tail, 6), "abcdef");
    // The seventh character would lie beyond the block: the text cannot be read.
    EXPECT_EQ(block.ReadText(tail, 7), "");

    const char longer[] = "abcdefghij";
    EXPECT_EQ(block.ReadText(AddressOf(longer), 4), "abcd");
}

}  // namespace
