#include "extraction/PosixIo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "app/VersionInfo.h"
#include "extraction/DocumentFiles.h"
#include "extraction/Pipeline.h"
#include "extraction/StreamingExtraction.h"
#include "support/SystemCallFaults.h"
#include "support/TestSupport.h"
#include "widgets/ExecutableDate.h"

namespace glanex {
namespace {

using test::SystemCall;
using test::SystemCallFaults;

std::string joined(const AddressList& lines) {
  std::string text;
  for (const std::string_view line : lines) (text += line) += '\n';
  return text;
}

std::string dateOf(const std::string& path) {
  const FileDateTime date = ExecutableFileDate(path);
  return std::to_string(date.year) + "-" + std::to_string(date.month) + "-" + std::to_string(date.day);
}

// A signal that arrives before a system call has done anything makes it fail with EINTR, which says nothing
// about the file: every reader calls again and reads what it reads undisturbed.
TEST(InterruptedSystemCall, EveryReaderCallsAgain) {
  const test::ScratchDir scratch;
  const std::string source = scratch.file("source.txt");
  test::writeBytes(source, "Anne <anne@ex.test>\r\n");
  const auto document = [&] { return readDocumentFile(source).plainText; };
  const auto streamed = [&] { return joined(extractAddressesFromFile(source, kDefaultSeparators, nullptr)); };
  const auto version = [] { return fileVersionOf(GLANEX_CLI_PATH); };
  const auto date = [&] { return dateOf(source); };
  const struct {
    const char* name;
    SystemCall call;
    std::function<std::string()> read;
  } readers[] = {
      {"document, open", SystemCall::Open, document}, {"document, read", SystemCall::Read, document},
      {"streamed, open", SystemCall::Open, streamed}, {"version, open", SystemCall::Open, version},
      {"version, pread", SystemCall::Pread, version}, {"build date, open", SystemCall::Open, date},
  };
  for (const auto& reader : readers) {
    SCOPED_TRACE(reader.name);
    const std::string undisturbed = reader.read();
    ASSERT_FALSE(undisturbed.empty());
    SystemCallFaults faults;
    faults.fail(reader.call, 1, EINTR);
    EXPECT_EQ(reader.read(), undisturbed);
    EXPECT_TRUE(faults.allReached());
  }
}

}  // namespace
}  // namespace glanex
