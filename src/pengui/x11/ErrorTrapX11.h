#pragma once

struct _XDisplay;

namespace pengui {

// Turns X protocol errors into a value for the calls made while it lives:
// the default handler would end the process, which a plug-in must never do
// to its host. The previous handler comes back when the trap ends.
class ErrorTrapX11 {
public:
    // [editor thread]
    explicit ErrorTrapX11(_XDisplay* display);
    ~ErrorTrapX11();
    ErrorTrapX11(const ErrorTrapX11&) = delete;
    ErrorTrapX11& operator=(const ErrorTrapX11&) = delete;

    // [editor thread] Waits for the server to answer every request sent so
    // far; the first error code seen since the trap began, or 0.
    int sync();

private:
    _XDisplay* display_;
    void* previous_;
};

} // namespace pengui
