#pragma once

#include "sys/DialogBackendInterface.h"

#include <functional>
#include <vector>

// A dialog back end whose answers the test scripts; it records every request
// and installs itself for its lifetime.
class ScriptedDialogBackend : public sys::DialogBackendInterface {
public:
    ScriptedDialogBackend() : previous(sys::set_dialog_backend(this)) {}
    ~ScriptedDialogBackend() override { sys::set_dialog_backend(previous); }

    sys::FileDialogResult run_file_dialog(const sys::FileDialogRequest& request) override {
        file_requests.push_back(request);
        return file_answer(request);
    }

    sys::MessageBoxAnswer run_message_box(const sys::MessageBoxRequest& request) override {
        box_requests.push_back(request);
        return box_answer(request);
    }

    std::function<sys::FileDialogResult(const sys::FileDialogRequest&)> file_answer;
    std::function<sys::MessageBoxAnswer(const sys::MessageBoxRequest&)> box_answer;
    std::vector<sys::FileDialogRequest> file_requests;
    std::vector<sys::MessageBoxRequest> box_requests;

private:
    sys::DialogBackendInterface* previous;
};
