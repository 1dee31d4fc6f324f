#pragma once

namespace quillon {

class MapState;
class TRom;

// Before anything of the open map is written back (grid, events, footer, header fields): the
// ROM must still say what it said when the map was opened. The chain is read again: the map
// header's footer and event pointers, the footer's size, border and grid pointers, the event
// header's counts and table pointers (tables with records). Another program, an undone
// command or a command on a map sharing this footer may have moved them; the copy in memory
// then describes places the ROM no longer uses, and writing it would land in freed space.
// Throws Error ("Die Map wurde im Rom geändert, ...") on any difference; maps outside the
// ROM and "no map" pass.
void requireUnchangedInRom(TRom& rom, const MapState& state);

}  // namespace quillon
