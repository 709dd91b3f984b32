#pragma once

#include <cstdint>

// The program's colours in one place. Values are 0x00BBGGRR (red in the low
// byte), as the symbols and the layout take them; a value with the top byte
// 0xFF is a system colour, resolved when painted.
namespace palette {

using Colour = uint32_t;

// The sixteen classic named colours.
inline constexpr Colour Black = 0x000000;
inline constexpr Colour Maroon = 0x000080;
inline constexpr Colour Green = 0x008000;
inline constexpr Colour Olive = 0x008080;
inline constexpr Colour Navy = 0x800000;
inline constexpr Colour Purple = 0x800080;
inline constexpr Colour Teal = 0x808000;
inline constexpr Colour Gray = 0x808080;
inline constexpr Colour Silver = 0xC0C0C0;
inline constexpr Colour Red = 0x0000FF;
inline constexpr Colour Lime = 0x00FF00;
inline constexpr Colour Yellow = 0x00FFFF;
inline constexpr Colour Blue = 0xFF0000;
inline constexpr Colour Fuchsia = 0xFF00FF;
inline constexpr Colour Aqua = 0xFFFF00;
inline constexpr Colour White = 0xFFFFFF;

// System colours: the face of buttons and forms, and the bevel shades.
inline constexpr Colour BtnFace = 0xFF00000F;
inline constexpr Colour BtnShadow = 0xFF000010;
inline constexpr Colour BtnHighlight = 0xFF000014;

// Titles and captions of the lower band and the silo page.
inline constexpr Colour TitleBack = 0xBEC47D;       // blue-grey behind section titles
inline constexpr Colour SectionBack = 0xFFFF80;     // light cyan behind section captions
inline constexpr Colour AlarmBoardBack = 0xDDE1E3;  // the alarm board's plate
inline constexpr Colour AlarmLineIdle = 0xADADAD;   // an alarm board line with no alarm
inline constexpr Colour FrameGrey = Gray;           // decorative frames and table grid
inline constexpr Colour SiloTableTitle = 0xA00000;  // "Силосный парк" and the help text
inline constexpr Colour SiloTableTitleBack = 0xE2E1D6;
inline constexpr Colour LoaderBusyBack = 0xC6FFC6;  // a loading machine at work
inline constexpr Colour InitPlcFont = 0x400080;     // "Инициализация PLC "

// Equipment on the diagram.
inline constexpr Colour DriveRun = 0x96D296;      // conveyors and the elevator at work
inline constexpr Colour PipeGreen = 0x004000;     // chutes under the intake conveyors
inline constexpr Colour LedUnlit = 0x484848;      // unlit LED board segments
inline constexpr Colour PumpCasing = 0xA0A0A0;    // casing of a fan
inline constexpr Colour NoriaCasing = 0x8AC6C6;   // head and boot of the bucket elevator
inline constexpr Colour SiloOverheated = Maroon;  // a silo in a temperature alarm

// Route list entries.
inline constexpr Colour RouteInTransition = 0xC8ECEC;  // starting or stopping: pale yellow
inline constexpr Colour RouteRunning = 0xC8ECC8;       // pale green
inline constexpr Colour RouteForbiddenFont = Gray;

// Silo level zones: the stock panel under the silo and the zone label.
inline constexpr Colour ZoneAlarmBack = 0xA0A0F0;  // pale red: upper or lower alarm
inline constexpr Colour ZoneLimitBack = 0xA0F0F0;  // pale yellow: maximum or minimum
inline constexpr Colour ZoneAlarmFont = Red;
inline constexpr Colour ZoneLimitFont = Olive;

}  // namespace palette
