#pragma once
// The player's display name: its window titles, its data folder and the title of the
// page it frames content in (which quorvel-tool builds the same way).

inline constexpr char16_t kProductDisplayName[] = u"Quorvel";
