#pragma once
// The key codes KeyDown handlers receive and the mouse buttons MouseUp
// handlers receive, as the window system numbers them. The Qt views translate
// their own events into these.

namespace tallymere {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyDelete = 46;

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

}  // namespace tallymere
