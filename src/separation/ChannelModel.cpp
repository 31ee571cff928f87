#include "separation/ChannelModel.h"

namespace dg {

using F = ChannelFamily;
using L = ChannelLevel;

const std::array<ChannelTableEntry, kChannelCount> ChannelTable = {{
    {1, F::Grey, L::White},    {2, F::Grey, L::LightGrey}, {3, F::Grey, L::Black},
    {4, F::Red, L::High},      {5, F::Red, L::Mid},        {6, F::Red, L::Low},
    {7, F::Green, L::High},    {8, F::Green, L::Mid},      {9, F::Green, L::Low},
    {10, F::Blue, L::High},    {11, F::Blue, L::Mid},      {12, F::Blue, L::Low},
    {13, F::Yellow, L::High},  {14, F::Yellow, L::Mid},    {15, F::Yellow, L::Low},
    {16, F::Cyan, L::High},    {17, F::Cyan, L::Mid},      {18, F::Cyan, L::Low},
    {19, F::Magenta, L::High}, {20, F::Magenta, L::Mid},   {21, F::Magenta, L::Low},
    {22, F::Grey, L::MidGrey}, {23, F::Grey, L::DarkGrey},
}};

}  // namespace dg
