#pragma once
// The event-script language's own verbs: pointer, keyboard and form input that any form
// takes. Private to the toolkit: the verb table starts with them.

#include <vector>

#include "platform/toolkit/script/EventScript.h"

std::vector<TScriptVerb> InputVerbs();
