#pragma once
// The overview pages of docs/art, drawn with cairo from the program's pictures.

#include <string>

// Every picture with its number and size, small ones scaled up.
bool WriteSheet(const std::string& path);

// At twice the size: the face, the face with a sample reading laid on it where
// the view puts the digits, point, bar and texts, and the idle face.
bool WriteFaces(const std::string& path);
