// The window class and title that the single-instance tests and their probe process share.
#pragma once

inline constexpr const char16_t* ProbeClass = u"NUMBRIXPROBE";
inline constexpr const char16_t* ProbeTitle = u"Numbrix probe";
