// What a check run is asked to do: the caller's request (why, and for a run
// the user started the folder and categories), completed from the settings
// for that kind of run and with the custom folders queued for it.
#pragma once
#include "integrity/check_run.h"

namespace kv {

class App;

// The caller's request, completed: the checksum and baseline in use; every
// category for a first full scan; the settings' categories for a logon
// check or a secure shut down. In a process started with an argument, any
// check is the unattended one: the system directory in the settings'
// categories, then the custom folders the settings queue.
CheckRequest PrepareRequest(App& app, CheckRequest request);

// A check the user starts from a page (a first folder scan too): of one
// folder, and its findings wait for the user, whatever the settings say.
CheckRequest UserCheck(CheckReason why, CheckFolder folder);

}  // namespace kv
