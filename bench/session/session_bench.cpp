// session_bench: the real executable under Xvfb against the sample server on loopback.
//   login to results  from the Enter key in the login window until the grade window is mapped,
//                     for the ordinary sample student and for a generated one with many
//                     courses, beside the same requests made by the curl command line
//   start-up          from the process start until the login window is mapped
//   peak memory       VmHWM of a whole session (login, evaluation, save) just before it closes
// Windows are seen mapped through an X connection of its own (MapNotify on the root window),
// not by polling. Nothing here asserts a time; it prints what it measured.
//
//   session_bench [--repetitions N] [--courses N]
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/program_session.h"
#include "tools/sample-server/sample_data.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using e2e::ProgramSession;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Tells when a top-level window of a given size is mapped.
class MapWatcher {
 public:
  explicit MapWatcher(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) throw e2e::HarnessError("no X connection to " + display);
    // A window that is gone before its size is asked for is no error here.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~MapWatcher() { XCloseDisplay(display_); }
  MapWatcher(const MapWatcher&) = delete;
  MapWatcher& operator=(const MapWatcher&) = delete;

  // Forgets the maps seen so far.
  void Drain() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
    }
  }

  // The moment the map of such a window reached this connection.
  Clock::time_point WaitForMap(int width, int height, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != MapNotify) continue;
        const auto seen = Clock::now();
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, event.xmap.window, &attributes) != 0 &&
            attributes.width == width && attributes.height == height) {
          return seen;
        }
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) throw e2e::HarnessError("no window mapped in time");
      pollfd readable{ConnectionNumber(display_), POLLIN, 0};
      poll(&readable, 1, static_cast<int>(left.count()));
    }
  }

 private:
  Display* display_;
};

long PeakResidentKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
  }
  return -1;
}

struct Student {
  std::string label;
  std::string number;
  std::string password;
  std::vector<std::string> paths;  // what the program requests, in order
};

struct Figures {
  std::vector<double> startup, loginToResults, curlTransfers, curlCommand, xdotoolKey;
  long peakKilobytes = 0;
};

// The same requests with the curl command line, one curl process each (the program, too, opens
// a connection per request), the cookie carried in a file from one to the next: the sum of the
// transfers' own times, and of the whole commands' times.
void TimeCurl(const Student& student, const std::string& base, const fs::path& work,
              Figures& figures) {
  const fs::path jar = work / "cookies.txt";
  fs::remove(jar);
  double transfers = 0;
  double commands = 0;
  for (const std::string& path : student.paths) {
    const auto started = Clock::now();
    const e2e::CommandResult result =
        e2e::RunCommand({"/usr/bin/curl", "-s", "--noproxy", "*", "-c", jar.string(), "-b",
                         jar.string(), "-w", "%{time_total}", "-o", "/dev/null", base + path},
                        {}, std::chrono::seconds(30));
    commands += Milliseconds(Clock::now() - started);
    if (result.exitCode != 0) throw e2e::HarnessError("curl failed on " + path);
    transfers += std::atof(result.output.c_str()) * 1000;
  }
  figures.curlTransfers.push_back(transfers);
  figures.curlCommand.push_back(commands);
}

// One whole session: start, log in, evaluation, save, close.
void RunSession(ProgramSession& session, MapWatcher& watcher, const Student& student,
                const fs::path& work, Figures& figures) {
  watcher.Drain();
  session.StartProgram();
  const auto mappedLogin =
      watcher.WaitForMap(e2e::kLoginWidth, e2e::kLoginHeight, std::chrono::seconds(20));
  figures.startup.push_back(Milliseconds(mappedLogin - session.Program().Started()));

  const e2e::WindowInfo login = session.WaitForLoginWindow();
  session.TypeLogin(login, student.number, student.password);
  watcher.Drain();
  const auto pressed = Clock::now();
  session.X().Key("Return", 0);
  const auto mappedGrade =
      watcher.WaitForMap(e2e::kGradeWidth, e2e::kGradeHeight, std::chrono::seconds(60));
  figures.loginToResults.push_back(Milliseconds(mappedGrade - pressed));

  const e2e::WindowInfo grade = session.WaitForGradeWindow();
  session.ClickEvaluation(grade);
  session.ConfirmBox(session.WaitForBox("澄溪学院成绩计算器"));
  const fs::path report = work / "reports" / "report.html";
  fs::create_directories(report.parent_path());
  session.ConfirmBox(session.SaveReport(grade, report, fs::exists(report)).answer);
  figures.peakKilobytes =
      std::max(figures.peakKilobytes, PeakResidentKilobytes(session.Program().Pid()));
  // The part of "Enter to grade window" that is xdotool's own start and key press.
  const auto keyStarted = Clock::now();
  session.X().Key("shift", 0);
  figures.xdotoolKey.push_back(Milliseconds(Clock::now() - keyStarted));
  session.PressEscape(grade);
  if (session.Program().WaitForExit(std::chrono::seconds(10)) != 0) {
    throw e2e::HarnessError("the program did not end with 0");
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void PrintRow(const char* what, const std::vector<double>& values) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::printf("  %-34s median %8.2f ms   min %8.2f   max %8.2f\n", what, Median(values), *low,
              *high);
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = 5;
  int courses = 1000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--repetitions") repetitions = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--courses") courses = std::clamp(std::atoi(argv[i + 1]), 1, 9999);
  }

  const e2e::SessionPaths paths{CX_E2E_PROGRAM, CX_SAMPLE_SERVER, CX_CLIPBOARD_READER, CX_E2E_PORT};
  const fs::path work = fs::path(CX_BENCH_OUTPUT) / "work";
  const std::string base = "http://127.0.0.1:" + std::to_string(paths.port) + "/";
  const sample::SampleStudent& ordinary = sample::SampleStudents().front();
  const std::string gradePath = sample::kGradePath;
  const std::vector<Student> students{
      {"ordinary student (" + std::to_string(ordinary.courses.size()) + " courses)",
       ordinary.number,
       ordinary.password,
       {"loginAction.do?zjh=" + ordinary.number + "&mm=" + ordinary.password, gradePath}},
      // Its grading words send the program to the plan pages too.
      {"generated student (" + std::to_string(courses) + " courses)",
       sample::kGeneratedStudentNumber,
       sample::kGeneratedStudentPassword,
       {std::string("loginAction.do?zjh=") + sample::kGeneratedStudentNumber +
            "&mm=" + sample::kGeneratedStudentPassword,
        gradePath, sample::kPlanEntryPath, sample::kPlanPagePath}},
  };

  try {
    e2e::SessionOptions options;
    options.generatedCourses = courses;
    ProgramSession session(paths, options, work);
    MapWatcher watcher(session.DisplayName());
    std::printf("session_bench: %d repetitions, Xvfb %s, sample server %s\n", repetitions,
                session.DisplayName().c_str(), base.c_str());
    for (const Student& student : students) {
      Figures figures;
      size_t programRequests = 0;
      for (int r = 0; r < repetitions; ++r) {
        const size_t before = session.ServerRequests().size();
        RunSession(session, watcher, student, work, figures);
        programRequests = session.ServerRequests().size() - before;
        TimeCurl(student, base, work, figures);
      }
      std::printf("\n%s: %zu requests by curl, %zu by the program\n", student.label.c_str(),
                  student.paths.size(), programRequests);
      PrintRow("start-up to login window", figures.startup);
      PrintRow("Enter to grade window", figures.loginToResults);
      PrintRow("  of which xdotool key, at most", figures.xdotoolKey);
      PrintRow("curl: transfers (time_total sum)", figures.curlTransfers);
      PrintRow("curl: whole commands (sum)", figures.curlCommand);
      std::printf("  %-34s %8.1f\n", "ratio program / curl transfers",
                  Median(figures.loginToResults) / Median(figures.curlTransfers));
      std::printf("  %-34s %8ld kB\n", "peak resident memory (VmHWM)", figures.peakKilobytes);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "session_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
