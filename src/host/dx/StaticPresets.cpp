#include "host/dx/StaticPresets.h"

#include "host/dx/platform/CCritSec.h"
#include "mppi/preset/BankFile.h"
#include "sys/Resource.h"

#include <atomic>
#include <memory>

namespace host::dx {

namespace {

std::unique_ptr<mppi::BankManager> filled_bank;
// Published after the bank is complete, so readers never see it being filled.
std::atomic<const mppi::BankManager*> published{nullptr};

const mppi::BankManager& empty_bank() {
    static const mppi::BankManager bank = [] {
        mppi::BankManager empty;
        empty.set_nbr_progs(0);
        return empty;
    }();
    return bank;
}

} // namespace

const mppi::BankManager& StaticPresets::get() {
    if (const mppi::BankManager* bank = published.load(std::memory_order_acquire)) {
        return *bank;
    }
    static dshow::CCritSec fill_lock;
    dshow::CAutoLock lock(&fill_lock);
    if (filled_bank == nullptr) {
        std::size_t size = 0;
        const void* data = sys::get_ressource("VNPB", "static_presets", &size);
        auto bank = std::make_unique<mppi::BankManager>();
        if (data == nullptr || mppi::load_bank_memory(data, size, *bank, false) != mppi::bank_ok) {
            return empty_bank();
        }
        filled_bank = std::move(bank);
        published.store(filled_bank.get(), std::memory_order_release);
    }
    return *filled_bank;
}

} // namespace host::dx
