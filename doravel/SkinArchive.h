// The skin archive that Doravel carries as its own resource "THEME" 129.
#pragma once

// Opens the resource in place as the framework's resource archive, closing any archive
// open before. Without the resource, or when it is no zip, the slot stays empty and the
// framework reads its skin from disk. True when an archive is open afterwards.
bool OpenSkinArchive();

