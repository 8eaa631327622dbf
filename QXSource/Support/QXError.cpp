#include "QXError.h"

#include <cstdio>
#include <mutex>

namespace {

// Both live for the whole process and are never destroyed, so that a report
// made while other static objects are torn down still has a list to go to.
std::mutex& ReportMutex() {
  static std::mutex* reportMutex = new std::mutex;
  return *reportMutex;
}

std::vector<std::string>& ProcessErrorList() {
  static std::vector<std::string>* errorList = new std::vector<std::string>;
  return *errorList;
}

std::string Decimal(int value) { return std::to_string(value); }

}  // namespace

std::vector<std::string>& QXErrorList() { return ProcessErrorList(); }

std::vector<std::string> QXErrorListSnapshot() {
  std::lock_guard<std::mutex> guard(ReportMutex());
  return ProcessErrorList();
}

void QXClearErrorList() {
  std::lock_guard<std::mutex> guard(ReportMutex());
  ProcessErrorList().clear();
}

void QXErrorMessage(const std::string& msg) {
  std::lock_guard<std::mutex> guard(ReportMutex());
  ProcessErrorList().push_back(msg);
  std::fwrite(msg.data(), 1, msg.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void QXErrorMessage(const std::string& fcn, const std::string& msg) {
  QXErrorMessage(fcn + ": " + msg);
}

void QXWarningMessage(const std::string& fcn, const std::string& msg) { QXErrorMessage(fcn, msg); }

void QXErrorOutOfRange(const std::string& type, int i, int m) {
  QXErrorMessage(type + "(" + Decimal(i) + ") is not valid, needs to be lie in [0," +
                 Decimal(m - 1) + "].");
}

void QXErrorOutOfRange(const std::string& type, int i, int j, int m, int n) {
  QXErrorMessage(type + "(" + Decimal(i) + "," + Decimal(j) +
                 ") is not valid, needs to lie in [0," + Decimal(m - 1) + "]x[0," + Decimal(n - 1) +
                 "].");
}

void QXErrorOutOfRange(const std::string& type, int i, int j, int k, int m, int n, int o) {
  QXErrorMessage(type + "(" + Decimal(i) + "," + Decimal(j) + "," + Decimal(k) +
                 ") is not valid, needs to lie in [0," + Decimal(m - 1) + "]x[0," + Decimal(n - 1) +
                 "]x[0," + Decimal(o - 1) + "].");
}
