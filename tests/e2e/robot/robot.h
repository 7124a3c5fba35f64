// Everything a scenario file includes: the scenario table and Run, windows,
// processes, files and registry, shell links, text.
#ifndef LUMAVIEW_E2E_ROBOT_H
#define LUMAVIEW_E2E_ROBOT_H

#include "files.h"
#include "gui.h"
#include "links.h"
#include "process.h"
#include "scenario.h"
#include "text.h"

#endif
