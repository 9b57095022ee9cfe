// Registering an entry in the favorites: at most fifty, each name once.
#pragma once
#include <cstdint>

enum class FavoriteOutcome {
    Registered,
    AlreadyRegistered,  // an entry of the same name is in the list
    Full,               // fifty entries are registered
    NoName,             // a submenu, or a category whose file gives it no name
    NotWritten,         // the file could not be written
};

// Loads the favorites from their file, checks the limit and the name, and registers
// (filePath, name, number) at the top. Nothing is written unless the outcome is Registered.
FavoriteOutcome AddFavorite(const char* filePath, const char* name, int32_t number);
