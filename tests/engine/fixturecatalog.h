// The media files the engine's tests convert, and the damaged ones they
// must survive.
#pragma once

#include "tests/engine/fixturewriter.h"

#include <string>
#include <vector>

// Every clip the fixture step makes with writeFixture.
const std::vector<ClipRecipe> &fixtureCatalog();
const ClipRecipe &fixture(const std::string &file);

// Files made by damaging or faking the clips above.
inline const char *const kTruncatedMp4 = "truncated.mp4"; // index never written
inline const char *const kTruncatedAvi = "truncated.avi"; // tail cut off
inline const char *const kGarbage = "garbage.avi";
inline const char *const kText = "text.avi";
inline const char *const kEmpty = "empty.avi";
inline const char *const kShortAsfHeader = "short_header.wmv";       // says 1 s, holds 3 s
inline const char *const kFragmentedHuge = "fragmented_huge.mp4";    // says 143,165 s
inline const char *const kDamagedTrackLength = "damaged_length.mp4"; // picture track "lasts" a tick
inline const char *const kCutShort = "cut_short.avi";                // the first fifth of long.avi
inline const char *const kCutIndexFirst = "cut_index_first.mp4";     // its index outlives its end
inline const char *const kBadSoundSetup = "bad_sound_setup.mkv";     // Vorbis setup header broken
inline const char *const kSoundBreaks = "sound_breaks.mkv";          // no sound decodes after 1.5 s
inline const char *const kJunkTail = "junk_tail.mpg"; // 200 MB of (sparse) zeros after it
// One flipped bit in a table of times, each an hour or more past the clip.
inline const char *const kFlippedCtts = "flipped_ctts.mp4";     // its first pictures' offsets
inline const char *const kFlippedFragment = "flipped_tfdt.mp4"; // a fragment's start
inline const char *const kFlippedVob = "flipped_pts.vob";       // a picture's time

// The folder the fixture step fills (set by the build).
std::string fixtureFolder();
std::string fixturePath(const std::string &file);

// Makes every file above in folder; false with a reason.
bool makeAllFixtures(const std::string &folder, std::string &error);
