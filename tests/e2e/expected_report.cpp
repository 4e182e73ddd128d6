#include "tests/e2e/expected_report.h"

#include <string>

namespace e2e {

namespace {

// The 4-point scale: 4.0 from 95 to 100, then 3.8, 3.6, 3.2, 2.7, 2.2, 1.7 and 1.0 for each band
// of five points down to 60, and 0 below 60 or above 100.
double PointFor(double score) {
  if (score > 100 || score < 60) return 0;
  if (score >= 95) return 4.0;
  if (score >= 90) return 3.8;
  if (score >= 85) return 3.6;
  if (score >= 80) return 3.2;
  if (score >= 75) return 2.7;
  if (score >= 70) return 2.2;
  if (score >= 65) return 1.7;
  return 1.0;
}

text::Text Quotient(double sum, double credits) {
  return credits == 0 ? text::Text("无") : text::NumberToText(sum / credits);
}

}  // namespace

text::Text ExpectedSummary(const std::vector<sample::SampleCourse>& courses) {
  if (courses.empty()) return "<P><B>   </B></P>";
  // Required and other courses apart, each summed in page order, as the window adds them up.
  double requiredCredits = 0, requiredScores = 0, requiredPoints = 0;
  double otherCredits = 0, otherScores = 0, otherPoints = 0;
  for (const sample::SampleCourse& course : courses) {
    // Every part of 形势与政策 counts a quarter credit, whatever the page says.
    const bool situationAndPolicy = course.name.rfind("形势与政策", 0) == 0;
    const double credits = situationAndPolicy ? 0.25 : std::stod(course.credits);
    const double score = course.expectedScore;
    const bool required = course.attribute == "必修";
    (required ? requiredCredits : otherCredits) += credits;
    (required ? requiredScores : otherScores) += score * credits;
    (required ? requiredPoints : otherPoints) += PointFor(score) * credits;
  }
  const double allCredits = requiredCredits + otherCredits;
  return "<P><B>" + text::Text("您的必修加权平均分：") + Quotient(requiredScores, requiredCredits) +
         " " + "您的必修加权学分绩点：" + Quotient(requiredPoints, requiredCredits) + " " +
         "您的全科加权平均分：" + Quotient(requiredScores + otherScores, allCredits) + " " +
         "您的全科加权学分绩点：" + Quotient(requiredPoints + otherPoints, allCredits) + "</B></P>";
}

text::Text ExpectedReport(const std::vector<sample::SampleCourse>& courses,
                          const text::Text& gradePage) {
  return ExpectedSummary(courses) + gradePage;
}

text::Text ProposedFileName(int year, int month, int day) {
  return std::to_string(year) + std::to_string(month) + std::to_string(day) + "澄溪成绩查询结果";
}

}  // namespace e2e
