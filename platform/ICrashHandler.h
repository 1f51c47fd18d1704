#pragma once

// Last words of a crashing process: a dump file beside the executable and a signal to
// whoever watches the crash event. Installed once, first thing in main().
namespace dp::platform::crash {

// strEventName names the event a crash reporter waits for; it must not be empty.
// Returns false when the handler could not be installed.
bool install(const wchar_t *strEventName);

// The text shown when the process ends for lack of memory (UTF-8); set before a crash.
void setOutOfMemoryText(const char *strText);

// The name of the dump file written beside the executable.
inline constexpr char kDumpFileName[] = "dump0.dmp";

} // namespace dp::platform::crash
