#include "tools/cardsim/sim_run.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "tools/cardsim/sim_line.h"
#include "tools/cardsim/sim_plan.h"

namespace cardsim {

int Run(const std::vector<std::string>& args) {
  const TParsed parsed = ParseArguments(args);
  if (parsed.Help) {
    std::cout << UsageText();
    return 0;
  }
  if (!parsed.Plan) {
    std::cerr << "cardsim: " << parsed.Error << "\n(cardsim --help shows the options)\n";
    return 2;
  }
  std::string error;
  const auto line = TSimLine::Open(parsed.Plan->Port, error);
  if (!line) {
    std::cerr << "cardsim: " << parsed.Plan->Port << ": " << error << '\n';
    return 1;
  }
  for (const TWrite& write : parsed.Plan->Writes) {
    if (!line->Write(write.Bytes)) {
      std::cerr << "cardsim: write to " << parsed.Plan->Port << " failed\n";
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(write.PauseAfterMs));
  }
  return 0;
}

}  // namespace cardsim
