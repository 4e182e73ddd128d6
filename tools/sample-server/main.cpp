// chengxi-sample-server: the sample academic-affairs server for trying the program and for its
// tests. Prints its address and the sample accounts, then serves until it is ended.
//
//   chengxi-sample-server [--port N] [--fault NAME] [--generated-student COURSES]
//                         [--log-requests]
//     --port N      the loopback port (default 8936); 0 picks a free one
//     --fault NAME  make the grade page go wrong (see --help for the names)
//     --generated-student COURSES
//                   also serve an account with that many generated courses (1 to 9999), for
//                   benchmarks
//     --log-requests  print "request <path>" as each request arrives
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/sample-server/sample_data.h"
#include "tools/sample-server/sample_server.h"

namespace {

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: chengxi-sample-server [--port N] [--fault NAME] "
               "[--generated-student COURSES] [--log-requests]\n  faults:");
  for (const std::string& name : sample::FaultNames()) std::fprintf(out, " %s", name.c_str());
  std::fprintf(out, "\n");
}

bool ParseNumber(const std::string& text, int lowest, int highest, int* number) {
  if (text.empty() || text.size() > 5) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  *number = std::atoi(text.c_str());
  return *number >= lowest && *number <= highest;
}

}  // namespace

int main(int argc, char** argv) {
  sample::SampleServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--help" || option == "-h") {
      PrintUsage(stdout);
      return 0;
    } else if (option == "--port" && hasValue &&
               ParseNumber(argv[i + 1], 0, 65535, &options.port)) {
      ++i;
    } else if (option == "--generated-student" && hasValue &&
               ParseNumber(argv[i + 1], 1, 9999, &options.generatedCourses)) {
      ++i;
    } else if (option == "--log-requests") {
      options.logRequests = true;
    } else if (option == "--fault" && hasValue && sample::FaultNamed(argv[i + 1])) {
      options.fault = *sample::FaultNamed(argv[++i]);
    } else {
      std::fprintf(stderr, "chengxi-sample-server: bad option %s\n", option.c_str());
      PrintUsage(stderr);
      return 2;
    }
  }

  sample::SampleServer server(options);
  if (!server.Bind()) {
    std::fprintf(stderr, "chengxi-sample-server: cannot listen on 127.0.0.1:%d\n", options.port);
    return 1;
  }
  std::printf("chengxi-sample-server: serving %s\n", server.Base().c_str());
  for (const sample::SampleStudent& student : sample::SampleStudents()) {
    std::printf("  account %s  password \"%s\"  (%s)\n", student.number.c_str(),
                student.password.c_str(), student.about);
  }
  if (options.generatedCourses > 0) {
    std::printf("  account %s  password \"%s\"  (%d generated courses)\n",
                sample::kGeneratedStudentNumber, sample::kGeneratedStudentPassword,
                options.generatedCourses);
  }
  std::fflush(stdout);
  return server.Serve() ? 0 : 1;
}
