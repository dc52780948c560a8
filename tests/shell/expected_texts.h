#pragma once
// The player's texts spelled out byte by byte, independently of the game's own literals.

#include <string>

namespace shelltest {

const char eAcute = '\xE9';  // Latin-1

inline std::string fallText() { return std::string("Beurk, tu t'es viand") + eAcute + "! c'est comique!"; }

inline std::string closingText() {
    return std::string("BRAVO, vous avez fini le jeu, c'") + eAcute + "tait assez lamentable" + " \n " +
           "mais c'" + eAcute + "tait surtout pour apprendre DirectX pendant une semaine ^^";
}

}  // namespace shelltest
