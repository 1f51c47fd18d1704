#pragma once

// Control functions of the fake engine, resolved by tests from the same library.
//
// The script is JSON:
// { "volumes": ["/"], "endScan": 0, "stopMs": 0,
//   "events":  [ {"op": "...", "t": 0, ...}, ... ],     replayed by FindDuplicates
//   "regroup": [ ... ] }                                 replayed by Regroup
// ops: progress {step, done, bytes}; finished {step, n};
//      create {id, path, size, sim, flags, w, h, def, date}; join {id, group, path, ...};
//      merge {a, b} (file ids); sleep {ms}; barrier; waitStop (blocks until Stop);
//      waitFile {path} (blocks until the file exists, or Stop).
// create and join may carry "key", the content key (default: the id). A join whose key
// was declared separated from a member of its group (GetImpExtras) opens a group instead.
// Each event runs on thread "t" (default 0); threads replay their own events in order
// and meet at every barrier.
extern "C" {
typedef void (*PFN_FakeEngineSetScript)(const char *pszJson);
typedef int (*PFN_FakeEngineCallLog)(char *pszBuffer, int iSize);
// Non-zero: GetImpExtras answers null, as an engine without the additions would.
typedef void (*PFN_FakeEngineSetExtrasOff)(int iOff);
}
