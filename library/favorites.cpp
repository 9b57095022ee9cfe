#include "library/favorites.h"

#include "library/receptionlog.h"

FavoriteOutcome AddFavorite(const char* filePath, const char* name, int32_t number) {
    LoadLog(Favorites);
    if (LogIsFull(Favorites)) return FavoriteOutcome::Full;
    // An empty name would match every unused position; it names nothing the user could pick.
    if (name[0] == '\0') return FavoriteOutcome::NoName;
    if (LogHasName(Favorites, name)) return FavoriteOutcome::AlreadyRegistered;
    PutLogEntryOnTop(Favorites, filePath, name, number);
    return SaveLog(Favorites) == 1 ? FavoriteOutcome::Registered : FavoriteOutcome::NotWritten;
}
