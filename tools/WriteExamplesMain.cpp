// slabwise-write-examples FOLDER: writes the two example projects into FOLDER.

#include "model/ExampleProjects.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: slabwise-write-examples FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        slabwise::TMatData mat{std::filesystem::path{}};
        slabwise::MakeEnglishExample(mat);
        mat.SaveToFile(folder / "Example English Units.ksw");
        slabwise::MakeSIExample(mat);
        mat.SaveToFile(folder / "Example SI Units.ksw");
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
