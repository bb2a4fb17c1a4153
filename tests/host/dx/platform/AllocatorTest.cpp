// CMemAllocator's rules for properties, commitment and buffers, and what a
// CMediaSample reports about its times and data.
#include "host/dx/platform/CMediaSample.h"
#include "host/dx/platform/CMemAllocator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

class AllocatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        baseline = dshow::CBaseObject::ObjectsActive();
        ASSERT_EQ(dshow::CMemAllocator::CreateAllocator(&allocator), S_OK);
    }
    void TearDown() override {
        allocator->Release();
        EXPECT_EQ(dshow::CBaseObject::ObjectsActive(), baseline);
    }
    HRESULT set(LONG buffers, LONG size, LONG align, LONG prefix = 0) {
        ALLOCATOR_PROPERTIES request{buffers, size, align, prefix};
        return allocator->SetProperties(&request, &actual);
    }

    LONG baseline = 0;
    IMemAllocator* allocator = nullptr;
    ALLOCATOR_PROPERTIES actual{};
};

TEST_F(AllocatorTest, properties_need_a_power_of_two_alignment) {
    struct Case {
        LONG align;
        HRESULT expected;
    } const cases[] = {{0, VFW_E_BADALIGN}, {3, VFW_E_BADALIGN}, {-4, VFW_E_BADALIGN},
                       {1, S_OK},           {8, S_OK},           {64, S_OK}};
    for (const Case& c : cases) {
        EXPECT_EQ(set(2, 100, c.align), c.expected) << "alignment " << c.align;
    }
    EXPECT_EQ(actual.cbBuffer, 128); // rounded up to the last good alignment
}

TEST_F(AllocatorTest, buffers_exist_only_while_committed) {
    IMediaSample* sample = nullptr;
    EXPECT_EQ(allocator->Commit(), VFW_E_SIZENOTSET);
    ASSERT_EQ(set(2, 100, 1), S_OK);
    EXPECT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator->Commit(), S_OK);
    EXPECT_EQ(set(2, 100, 1), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(allocator->Decommit(), S_OK);
    EXPECT_EQ(set(2, 100, 1), VFW_E_BUFFERS_OUTSTANDING);
    sample->Release();
    EXPECT_EQ(set(3, 50, 1), S_OK);
}

TEST_F(AllocatorTest, buffers_are_aligned_after_their_prefix) {
    ASSERT_EQ(set(3, 100, 16, 4), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    IMediaSample* samples[3] = {};
    for (IMediaSample*& sample : samples) {
        ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
        EXPECT_EQ(sample->GetSize(), 112);
        data[-4] = 0xAA; // the prefix is usable memory
    }
    IMediaSample* extra = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&extra, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    for (IMediaSample* sample : samples) {
        sample->Release();
    }
    allocator->Decommit();
}

TEST_F(AllocatorTest, a_waiting_get_buffer_wakes_on_release_and_on_decommit) {
    ASSERT_EQ(set(1, 10, 1), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    IMediaSample* held = nullptr;
    ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);
    HRESULT waited = E_FAIL;
    IMediaSample* got = nullptr;
    std::thread waiter([&] { waited = allocator->GetBuffer(&got, nullptr, nullptr, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    held->Release();
    waiter.join();
    ASSERT_EQ(waited, S_OK);
    EXPECT_EQ(got, held); // the one buffer came back

    std::thread blocked([&] { waited = allocator->GetBuffer(&held, nullptr, nullptr, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    allocator->Decommit();
    blocked.join();
    EXPECT_EQ(waited, VFW_E_NOT_COMMITTED);
    got->Release();
}

TEST_F(AllocatorTest, samples_report_times_lengths_and_flags) {
    ASSERT_EQ(set(1, 32, 1), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    REFERENCE_TIME start = 100, stop = 200, a = 0, b = 0;
    IMediaSample* sample = nullptr;
    ASSERT_EQ(allocator->GetBuffer(&sample, &start, nullptr, AM_GBF_PREVFRAMESKIPPED), S_OK);
    EXPECT_EQ(sample->GetTime(&a, &b), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(a, 100);
    EXPECT_EQ(sample->IsDiscontinuity(), S_OK);
    EXPECT_EQ(sample->SetTime(&start, &stop), S_OK);
    EXPECT_EQ(sample->GetTime(&a, &b), S_OK);
    EXPECT_EQ(b, 200);
    EXPECT_EQ(sample->SetTime(nullptr, nullptr), S_OK);
    EXPECT_EQ(sample->GetTime(&a, &b), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(sample->GetMediaTime(&a, &b), VFW_E_MEDIA_TIME_NOT_SET);
    EXPECT_EQ(sample->SetMediaTime(&start, &stop), S_OK);
    EXPECT_EQ(sample->GetMediaTime(&a, &b), S_OK);

    struct Case {
        LONG length;
        HRESULT expected;
    } const lengths[] = {
        {0, S_OK}, {32, S_OK}, {33, VFW_E_BUFFER_OVERFLOW}, {-1, VFW_E_BUFFER_OVERFLOW}};
    for (const Case& c : lengths) {
        EXPECT_EQ(sample->SetActualDataLength(c.length), c.expected) << c.length;
    }
    EXPECT_EQ(sample->GetActualDataLength(), 32);
    AM_MEDIA_TYPE* type = reinterpret_cast<AM_MEDIA_TYPE*>(1);
    EXPECT_EQ(sample->GetMediaType(&type), S_FALSE);
    EXPECT_EQ(type, nullptr);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    sample->SetSyncPoint(TRUE);
    sample->Release();

    // A sample handed out again starts clean.
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(sample->GetActualDataLength(), 0);
    EXPECT_EQ(sample->GetTime(&a, &b), VFW_E_SAMPLE_TIME_NOT_SET);
    sample->Release();
    allocator->Decommit();
}

} // namespace
