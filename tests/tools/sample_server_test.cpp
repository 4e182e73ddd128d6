// The sample server through the program's own page fetch: the login answers, the session
// cookie carried to the grade and plan pages, the pages without a login, the fault modes, and
// the executable as the README and the end-to-end tests start it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tools/sample-server/sample_data.h"
#include "tools/sample-server/sample_server.h"
#include "web/exchange_limits.h"
#include "web/fetch.h"
#include "web/percent_encode.h"

extern char** environ;

namespace sample {
namespace {

using text::FindText;
using text::Text;

Text LoginPath(const Text& number, const Text& password) {
  return "loginAction.do?zjh=" + web::PercentEncode(number) + "&mm=" + web::PercentEncode(password);
}

bool Holds(const Text& page, const Text& part) {
  return FindText(page, part, 1, false) != -1;
}

TEST(SampleServer, EachAccountLogsInAndReachesItsOwnPages) {
  BackgroundSampleServer server;
  for (const SampleStudent& student : SampleStudents()) {
    SCOPED_TRACE(student.number);
    // Before the login (or with another student's session) the pages are not this student's.
    if (!student.courses.empty()) {
      EXPECT_NE(web::FetchPage(server.Base(), kGradePath), GradePage(&student));
    }
    const Text answer = web::FetchPage(server.Base(), LoginPath(student.number, student.password));
    EXPECT_EQ(answer, LoginSuccessPage(student));
    EXPECT_EQ(web::FetchPage(server.Base(), kGradePath), GradePage(&student));
    EXPECT_EQ(web::FetchPage(server.Base(), kPlanEntryPath), PlanEntryPage(&student));
    EXPECT_EQ(web::FetchPage(server.Base(), kPlanPagePath), PlanPage(&student));
  }
}

TEST(SampleServer, LoginFailuresAnswerWithTheirPhrase) {
  BackgroundSampleServer server;
  const SampleStudent& student = SampleStudents()[1];
  const struct {
    Text number;
    Text password;
    Text page;
  } cases[] = {
      {student.number, student.password + "x", WrongPasswordPage()},
      // The password decoded as it was typed: unencoded, "&" and "#" would cut it short.
      {student.number, "cx", WrongPasswordPage()},
      {"2099999999", student.password, UnknownNumberPage()},
      {"", "", UnknownNumberPage()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number + " " + c.password);
    EXPECT_EQ(web::FetchPage(server.Base(), LoginPath(c.number, c.password)), c.page);
  }
  // No session came of them.
  EXPECT_EQ(web::FetchPage(server.Base(), kGradePath), GradePage(nullptr));
  EXPECT_EQ(web::FetchPage(server.Base(), "nothing.do"), NotFoundPage());
}

TEST(SampleServer, FaultsSpoilTheGradePageAsNamed) {
  web::ExchangeLimits limits;
  limits.stallTimeoutMs = 300;
  web::SetExchangeLimits(limits);
  const SampleStudent& student = SampleStudents().front();
  const Text page = GradePage(&student);
  const Text firstRow = GradeRow(student.courses[0]);
  const struct {
    Fault fault;
    bool (*expected)(const Text& fetched, const Text& page, const Text& firstRow);
  } cases[] = {
      {Fault::kNone, [](const Text& f, const Text& p, const Text&) { return f == p; }},
      {Fault::kNoCourseRows, [](const Text& f, const Text&,
                                const Text&) { return !f.empty() && !Holds(f, kGradeRowMarker); }},
      {Fault::kServerError,
       [](const Text& f, const Text&, const Text&) { return Holds(f, "500"); }},
      {Fault::kLongHeader, [](const Text& f, const Text& p, const Text&) { return f == p; }},
      {Fault::kZeroByte, [](const Text& f, const Text& p,
                            const Text& row) { return f.size() < p.size() && f.ends_with(row); }},
      {Fault::kInvalidGbk,
       [](const Text& f, const Text& p, const Text&) {
         return f.size() == p.size() + 2 && Holds(f, "\xFF\x80");
       }},
      {Fault::kCloseMidBody, [](const Text& f, const Text&, const Text&) { return f.empty(); }},
      {Fault::kStall, [](const Text& f, const Text&, const Text&) { return f.empty(); }},
      // The page comes from the second port, which the Referer never reached.
      {Fault::kRedirectOtherPort, [](const Text& f, const Text& p, const Text&) { return f == p; }},
      // Only the login answer stalls (checked below); the grade page is not what it spoils.
      {Fault::kStallLogin, [](const Text&, const Text&, const Text&) { return true; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    BackgroundSampleServer server(c.fault);
    const Text answer = web::FetchPage(server.Base(), LoginPath(student.number, student.password));
    EXPECT_EQ(answer.empty(), c.fault == Fault::kStallLogin);
    EXPECT_TRUE(c.expected(web::FetchPage(server.Base(), kGradePath), page, firstRow));
  }
  web::SetExchangeLimits(web::ExchangeLimits{});
}

TEST(SampleServer, GeneratedStudentOnlyWhenAskedFor) {
  const SampleStudent student = GeneratedStudent(1200);
  {
    BackgroundSampleServer server;
    EXPECT_EQ(web::FetchPage(server.Base(), LoginPath(student.number, student.password)),
              UnknownNumberPage());
  }
  BackgroundSampleServer server(SampleServerOptions{0, Fault::kNone, 1200});
  EXPECT_EQ(web::FetchPage(server.Base(), LoginPath(student.number, student.password)),
            LoginSuccessPage(student));
  EXPECT_EQ(web::FetchPage(server.Base(), kGradePath), GradePage(&student));
  EXPECT_EQ(web::FetchPage(server.Base(), kPlanPagePath), PlanPage(&student));
}

TEST(SampleServer, FaultNamesRoundTrip) {
  for (const std::string& name : FaultNames()) EXPECT_TRUE(FaultNamed(name)) << name;
  EXPECT_EQ(FaultNamed("none"), Fault::kNone);
  EXPECT_FALSE(FaultNamed("nonsense"));
}

// The executable, started as a script would: its first line names the address.
class RunningExecutable {
 public:
  explicit RunningExecutable(std::vector<std::string> arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    arguments.insert(arguments.begin(), CX_SAMPLE_SERVER);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, CX_SAMPLE_SERVER, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    output_ = fdopen(pipeEnds[0], "r");
  }
  ~RunningExecutable() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) fclose(output_);
  }
  // The next line it printed ("" at the end).
  std::string Line() {
    char buffer[512];
    if (output_ == nullptr || fgets(buffer, sizeof buffer, output_) == nullptr) return {};
    return buffer;
  }
  // The exit status, waiting for the end.
  int ExitStatus() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
};

TEST(SampleServerExecutable, PrintsItsAddressAndAccountsThenServes) {
  RunningExecutable server({"--port", "0", "--log-requests"});
  const std::string first = server.Line();
  const std::string prefix = "chengxi-sample-server: serving ";
  ASSERT_TRUE(first.starts_with(prefix + "http://127.0.0.1:")) << first;
  const std::string base = first.substr(prefix.size(), first.size() - prefix.size() - 1);
  for (const SampleStudent& student : SampleStudents()) {
    const std::string line = server.Line();
    EXPECT_THAT(line, ::testing::HasSubstr("account " + student.number + "  password \"" +
                                           student.password + "\""));
  }
  const SampleStudent& student = SampleStudents()[1];
  EXPECT_EQ(web::FetchPage(base, LoginPath(student.number, student.password)),
            LoginSuccessPage(student));
  EXPECT_EQ(web::FetchPage(base, kGradePath), GradePage(&student));
  // Each request as it arrived, without its query (which holds the password).
  EXPECT_EQ(server.Line(), "request /loginAction.do\n");
  EXPECT_EQ(server.Line(), "request /gradeLnAllAction.do\n");
}

TEST(SampleServerExecutable, RefusesBadOptions) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--port", "70000"},
                                                    {"--port"},
                                                    {"--fault", "nonsense"},
                                                    {"--generated-student", "0"},
                                                    {"--generated-student", "10000"},
                                                    {"extra"}}) {
    RunningExecutable server(arguments);
    EXPECT_EQ(server.ExitStatus(), 2);
  }
}

}  // namespace
}  // namespace sample
