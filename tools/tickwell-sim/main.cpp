#include "Simulation.h"
#include "SimulatorOptions.h"

#include <QCoreApplication>

#include <iostream>

// tickwell-sim: the program's monitor on a simulated clock, months in seconds.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<QString> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i]);

    QString error;
    const auto options = SimulatorOptions::parse(arguments, error);
    if (!options) {
        std::cerr << "tickwell-sim: " << error.toStdString() << std::endl;
        return 2;
    }
    std::ios::sync_with_stdio(false);
    return runSimulation(*options, std::cout, std::cerr);
}
