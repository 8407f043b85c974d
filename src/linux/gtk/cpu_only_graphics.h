#pragma once

namespace taviro::gtk {

// Keeps Mesa's CPU rasterizer (with LLVM, some 25 MiB) out of this process on
// a machine without a GPU device.
//
// There, the only GL is that rasterizer, and nothing in this process draws
// with GL: the pages are painted by their own process and the picture goes to
// the window through shared memory. Yet GTK probes GLX when it opens the
// display, and WebKit opens an EGL display for its views; each loads it. Both
// are made to find no GL, and the environment is then put back as it was, so
// the page processes (which cannot run without EGL) and every program started
// later see the user's own. Variables the user has set are left alone.
//
// To be called before gtk_init, while the process has no thread that reads
// the environment.
void KeepCpuRasterizerOut();

}  // namespace taviro::gtk
