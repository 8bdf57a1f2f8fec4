// sendwerk: the operator program of the office's mail dispatcher.
#include "app/error_report.h"
#include "app/program.h"

int main(int argc, char** argv) {
    sendwerk::GuardedApplication app(argc, argv);
    return sendwerk::runProgram(app);
}
