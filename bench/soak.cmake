# The console's soak benchmark.
