#pragma once

#include <thread>
#include <vector>

// Runs work(k) for every share k of n: share 0 on the calling thread, each other on a thread of
// its own. Returns when every share is done.
template <typename Work> void runShares(int n, const Work &work)
{
    std::vector<std::thread> helpers;
    for (int k = 1; k < n; ++k)
        helpers.emplace_back(work, k);
    work(0);
    for (std::thread &helper : helpers)
        helper.join();
}
