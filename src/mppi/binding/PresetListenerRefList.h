#pragma once

#include <array>

namespace mppi {

class PresetLoadBankListener;
class PresetMemListener;
class PresetNumberListener;
class PresetSaveBankListener;
class PresetTimeDisplayListener;
class PresetTimeFaderListener;
class ProgStLdInterface;

// The hub through which the preset panel's listeners reach one another and
// the interpolator. Nothing here is owned; every entry is null until entered,
// and entering a listener gives it a pointer to this list. Everything runs on
// the editor thread.
class PresetListenerRefList {
public:
    static constexpr int nbr_programs = 8;

    virtual ~PresetListenerRefList() = default;

    // [editor thread]
    void enter(ProgStLdInterface* interpolator) { interpolator_ = interpolator; }
    void enter(PresetLoadBankListener* listener);
    void enter(PresetSaveBankListener* listener);
    void enter(PresetMemListener* listener);
    // [editor thread] The program listener of that index, 0 to 7.
    void enter(int index, PresetNumberListener* listener);
    void enter(PresetTimeDisplayListener* listener);
    void enter(PresetTimeFaderListener* listener);

    ProgStLdInterface* interpolator() const { return interpolator_; }
    PresetLoadBankListener* load_bank() const { return load_bank_; }
    PresetSaveBankListener* save_bank() const { return save_bank_; }
    PresetMemListener* mem() const { return mem_; }
    PresetNumberListener* number(int index) const { return numbers_[static_cast<unsigned>(index)]; }
    PresetTimeDisplayListener* time_display() const { return time_display_; }
    PresetTimeFaderListener* time_fader() const { return time_fader_; }

private:
    ProgStLdInterface* interpolator_ = nullptr;
    PresetLoadBankListener* load_bank_ = nullptr;
    PresetSaveBankListener* save_bank_ = nullptr;
    PresetMemListener* mem_ = nullptr;
    std::array<PresetNumberListener*, nbr_programs> numbers_{};
    PresetTimeDisplayListener* time_display_ = nullptr;
    PresetTimeFaderListener* time_fader_ = nullptr;
};

} // namespace mppi
