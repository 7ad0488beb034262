// The project file: a whole project (maps, layers, styles, objects with
// their shapes and arcs) as JSON text; docs/host-project-format.md
// describes it. Reading builds a new project and hands it over only when
// all of it was read, so a damaged file opens nothing; saving writes a
// temporary file and renames it, so a failed save leaves the old file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/model/map_model.h"

namespace host {

// How far a reading got, in percent, told now and then (a large project
// takes seconds).
using TLoadProgress = std::function<void(int Percent)>;

std::string ProjectToJson(const THostProject& Project);
// Raises EHostError naming the line and column of a syntax error, or the
// field (e.g. objects[12].shapes[0].commands[3]) of a content error.
THostProject ProjectFromJson(std::string_view Text, const TLoadProgress& Progress = {});

void SaveProjectFile(const THostProject& Project, const std::string& Path);
// Errors carry the file's path before the reader's message.
THostProject LoadProjectFile(const std::string& Path, const TLoadProgress& Progress = {});

}  // namespace host
