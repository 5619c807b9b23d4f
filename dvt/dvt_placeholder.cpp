// Filled by the DVT runner.
