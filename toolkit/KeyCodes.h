#pragma once

#include <cstdint>

// The keystroke codes that a TextBox hands to its onKeyPress handler: the character's code in the
// Western code page, or a control code for Ctrl+A to Ctrl+Z, Backspace, Enter and Escape.
namespace toolkit::KeyCode {

// Ctrl+A is 1, Ctrl+Z is 26.
constexpr std::int16_t control(char letter) { return std::int16_t(letter - 'A' + 1); }

inline constexpr std::int16_t Copy = control('C');
inline constexpr std::int16_t Paste = control('V');
inline constexpr std::int16_t Backspace = 8;
inline constexpr std::int16_t Enter = 13;
inline constexpr std::int16_t Escape = 27;
// The lowest code that types a character.
inline constexpr std::int16_t Space = 32;
inline constexpr std::int16_t DoubleQuote = 34;
inline constexpr std::int16_t Comma = 44;
inline constexpr std::int16_t Period = 46;
// What a character that the code page cannot hold becomes.
inline constexpr std::int16_t QuestionMark = 63;

} // namespace toolkit::KeyCode
