# The offline decoder's benchmark.
