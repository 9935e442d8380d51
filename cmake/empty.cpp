// Keeps a layer library valid while its folder has no sources yet.
