// Filled by the BBCB job.
