// The process entry: the real machine under the game's WinMain.

#include <cstdio>
#include <memory>
#include <string>

#include "platform/d3d9/factory.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/sdl/box_process.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
    const int boxExit = platform::runAsBoxProcess(argc, argv);
    if (boxExit >= 0) {
        return boxExit;  // this run only showed one of the game's message boxes
    }

    std::string error;
    std::unique_ptr<platform::SdlBackend> backend = platform::SdlBackend::open(error);
    if (!backend) {
        std::fprintf(stderr,
                     "quorvel: no display to open the game window on (%s); "
                     "run it under Xvfb: xvfb-run -a ./play.sh\n",
                     error.c_str());
        return 1;
    }
    platform::setBackend(backend.get());
    platform::setDirect3DFactory(platform::createGLDirect3D);

    // Windows hands WinMain the arguments without the program's name.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        commandLine += (i > 1 ? " " : "");
        commandLine += argv[i];
    }
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);

    platform::setDirect3DFactory(nullptr);
    return exitCode;
}
