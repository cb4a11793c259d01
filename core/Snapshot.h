#pragma once

// The snapshot a course site keeps in suspend_data so that a learner
// resumes exactly where they stopped.
//
// Written by the core after every action, read by the core on a resume;
// the page only carries the text to and from the site. One line of ASCII
// (no quotes, no backslash, nothing a site might escape), at most 4,096
// characters (SCORM 1.2's suspend_data limit), fields in this fixed order,
// separated by ';':
//
//   B1                      the format and its version
//   X=2C619334              CRC-32 of the exercise file's bytes (as Crc32)
//   M=FFFF1234…             the 16 words, 4 hex digits each, word 0 first
//   L=01011                 CE OE WE LB UB, 0 or 1 each
//   A=3                     the address, one hex digit
//   D=BEEF                  the data input (the data switches follow it)
//   Q=1234                  the read register (the lamps follow it)
//   O=b                     the word order: b big, l little
//   S=412.60                the panel's last step and action numbers, so
//                           that a step a goal names stays that step
//   N=17                    actions since the start
//   H=1                     hints shown
//   F=12                    done, in that many actions; F=- not done
//   C=r3b2.w5u1             the cycles counted so far, only those not 0:
//                           r or w, the address in hex, b both, u upper or
//                           l lower bytes, then the count; '.' between
//   G=3:17.7:25             the `never` goals broken and the `then` goals
//                           met: the goal's 0-based index, ':', the step
//
// The worst case (every cycle kind counted at every address, 50 goals with
// a state) stays under 2,000 characters. What the exercise derives from
// its own start (the words an `unchanged` goal compares with, the count
// goals' sums over C) is not stored. The timing diagram starts empty.
//
// Resuming starts the exercise afresh, then puts the panel back as stored
// (Panel::Restore: no evaluation, nothing recorded), then the counts,
// states, hints and done, and checks the goals once. A snapshot of another
// version, of another exercise (X), or with any field missing, out of
// order or out of range is ignored as a whole: the exercise stays started
// afresh.

#include <string>
#include <string_view>

namespace bitwell {

class ExerciseSession;

inline constexpr std::size_t kSnapshotMaxCharacters = 4096;

// The open exercise's state as above; "" with no exercise open.
std::string WriteSnapshot(const ExerciseSession& session, std::string_view exerciseBytes);
// Resumes the open exercise from `snapshot`: true when it fitted; false,
// and the exercise started afresh, when it did not.
bool ResumeSnapshot(ExerciseSession& session, std::string_view exerciseBytes, std::string_view snapshot);

}  // namespace bitwell
