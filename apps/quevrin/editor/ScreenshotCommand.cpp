#include "Commands.h"

#include "OutputFile.h"
#include "PluginModule.h"
#include "PngFile.h"
#include "ProgramSetup.h"

#include "editor/ParamPlaces.h"
#include "mppi/GuiInterface.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/PixelImage.h"

// The editor is reached as the property page reaches it, through the
// filter's private interface: its GUI object and its editor window. The
// module is loaded without a display (see main), so its editor window is the
// toolkit's offscreen window, which paints through the real tile loop.
int screenshot_command(const Options& o) {
    if (o.operands.size() != 1)
        throw UsageError("screenshot takes one OUTPUT.png; see quevrin screenshot --help");
    // PNG is the one format written: a name that asks for another is refused.
    const std::string& name = o.operands[0];
    const std::size_t dot = name.find_last_of("./");
    if (name != "-" &&
        (dot == std::string::npos || name[dot] != '.' || lower(name.substr(dot)) != ".png"))
        throw UsageError(name + ": a screenshot is written as PNG; name it .png");
    OutputFile output(o.operands[0]);
    PluginModule module(module_path(o));
    configure(module, o);

    auto& window = static_cast<pengui::HeadlessWindow&>(module.editor_window());
    module.editor().open(nullptr);
    if (!o.focus.empty()) {
        editor::layout::Point p{};
        if (!editor::layout::param_position(find_param(module.dsp(), o.focus), p))
            throw UsageError("--focus: \"" + o.focus + "\" has no control of its own");
        const pengui::Scale scale = window.scale();
        window.mouse_button(scale.device(p.x), scale.device(p.y), 1);
        window.mouse_button(scale.device(p.x), scale.device(p.y), 0);
    }
    const pengui::PixelImage image =
        window.render(pengui::Rect{0, 0, window.content_width(), window.content_height()});
    module.editor().close();

    std::string error;
    if (!write_png(output.write_path(), image, error))
        throw UsageError(o.operands[0] + ": " + error);
    output.commit();
    return 0;
}
