// pelmo2-sim: the SpO2 simulator played on a pseudo-terminal (see --help).

#include <unistd.h>

#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/com/registry.h"
#include "tools/pelmo2_sim/sim_program.h"

int main(int argc, char** argv) {
    try {
        const sim::SimSettings settings = sim::SimSettings::Parse(std::vector<std::string>(argv + 1, argv + argc));
        if (settings.help) {
            std::cout << sim::SimSettings::Usage();
            return 0;
        }
        sim::SimProgram program(settings, std::cout);
        program.Start();
        return program.Run(STDIN_FILENO);
    } catch (const sim::UsageError& e) {
        std::cerr << "pelmo2-sim: " << e.what() << "\n";
        if (e.ShowUsage()) std::cerr << sim::SimSettings::Usage();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "pelmo2-sim: " << e.what() << "\n";
        return 1;
    }
}
