// The failures every writer of a whole file must survive: each keeps the old
// file byte for byte, leaves no temporary file beside it and shows one
// message naming the file and the cause.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/safefile.h"
#include "tests/support/write_failure_cases.h"

namespace brantel::test
{

// write(path, cause) replaces the file at path the way the program does and
// returns the messages it showed; cause is the sentence that names the file
// and the failure, which the one message must hold (a test that scripts its
// message boxes expects it).
inline void ExpectEachWriteFailureKeepsTheOldFile(
    const std::string& name,
    const std::function<std::vector<std::string>(const std::string&, const std::string&)>& write)
{
    ForEachWriteFailure(
        name, [](safereplace::Step step) { afx::SafeFileWriter::InjectFailure(step); },
        [&](const std::string& path, const WriteFailureCase& c) {
            std::string cause = c.cause;
            cause.replace(cause.find("%s"), 2, path);
            const std::vector<std::string> messages = write(path, cause);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find(cause), std::string::npos) << messages[0];
        });
}

} // namespace brantel::test
