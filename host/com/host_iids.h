// Identifiers of the host's own interfaces that the add-on reaches only
// through other calls, never by QueryInterface; they are the host's, so that
// its objects answer QueryInterface consistently.
#pragma once

#include "compat/guid.h"

namespace host {

inline constexpr GUID IID_HostSettingsStore =
    compat::ParseGuid("{8444EBCD-C26C-4A61-9007-52F3781DDC7A}");
inline constexpr GUID IID_HostDocument =
    compat::ParseGuid("{54E58596-68F0-4F04-9A44-3BDB2C75032A}");
inline constexpr GUID IID_HostOrvexMapView =
    compat::ParseGuid("{03A86AD5-B707-463B-BDD1-A88CCBD57FBC}");
inline constexpr GUID IID_HostCanvas = compat::ParseGuid("{F8A061BE-3482-4163-A53D-2280066EA8DA}");
inline constexpr GUID IID_HostPen = compat::ParseGuid("{1700DA7F-2321-4210-B585-3985E9D36247}");
inline constexpr GUID IID_HostBrush = compat::ParseGuid("{AE031413-4F00-4236-A4AC-7F49A8B226FD}");
inline constexpr GUID IID_HostViewport =
    compat::ParseGuid("{416121BF-02CB-49CD-826F-53D59C370147}");
// Answered by the host's own paint contours only: gives the implementation.
inline constexpr GUID IID_HostPaintContour =
    compat::ParseGuid("{22AF3FDE-D843-4E50-9050-83962A490B15}");

}  // namespace host
