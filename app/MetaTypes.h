#pragma once
// Registers the types that cross threads in queued signals. Called once by main and by every
// test that runs a worker.
void registerMetaTypes();
