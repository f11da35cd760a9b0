#pragma once

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace mirelo::test {

// Compares `picture` pixel for pixel with the reference picture `name`.png in
// tests/app/reference. On a mismatch the picture taken and a diff (the pixels
// that differ in red over a faded copy of the reference) are written to the
// reference-output folder of the build's tests/app, and the failure names both.
//
// After a deliberate change of what a picture shows, write the references anew
// and look at them before committing them:
//   MIRELO_UPDATE_REFERENCE=1 ./build/dev/tests/app/test_window --gtest_filter='WindowRows.*'
::testing::AssertionResult MatchesReference(const QImage& picture, const char* name);

} // namespace mirelo::test
