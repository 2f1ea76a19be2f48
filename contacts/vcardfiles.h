#pragma once

#include "contacts/contact.h"

#include <QString>

// The cards of a vCard file, or of every *.vcf file in a folder and in its sub-folders one level
// down (as vdirsyncer, khard and KDE keep an address book), hidden files skipped. Symbolic links
// are followed; only regular files are read, never a pipe or a device, and nothing is written.
// A problem names the path: one that is neither a file nor a folder, a file over 64 MiB, a folder
// with over 100,000 entries, a source without any card. Files of a folder that cannot be read are
// skipped, and named in the problem only when none of them could be read.
SourceReading readVCardSource(const QString& path);
