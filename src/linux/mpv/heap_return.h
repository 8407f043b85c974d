#pragma once

namespace taviro::mpv {

// Hands the free pages of every malloc arena back to the system.
//
// Each item is read by libmpv's and ffmpeg's threads, and the read-ahead of
// the next one by a player of its own with threads of its own; their buffers
// are freed when the item ends, but glibc keeps the pages in the arenas those
// threads used, scattered between live blocks. Over an evening of episodes
// the program then holds more than ten MiB it no longer uses. Called once per item,
// when the previous one and its read-ahead are gone, so the cost (a walk of
// the arenas) is paid rarely.
void ReturnFreeHeapPages();

// Keeps malloc to two arenas however many threads the players start and end.
// glibc otherwise gives threads up to eight arenas per core, and blocks that
// outlive the thread that made them pin pages in each; with two, what one
// item frees is what the next one reuses. To be called first thing in main,
// before any thread runs.
void LimitHeapArenas();

}  // namespace taviro::mpv
