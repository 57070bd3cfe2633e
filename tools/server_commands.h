#pragma once

#include "command.h"

// create, demo and check on a server database (a postgresql:// URI): the
// file commands hand over to these when their argument is such an address.
namespace tools {

int createOnServer(const CommandCall& call, bool withDemoData);
int checkOnServer(const CommandCall& call);

}  // namespace tools
