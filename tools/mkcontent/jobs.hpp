// The pieces of work that make the content tree; each writes its own files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "mkcontent/output.hpp"

struct Job {
  std::string name;
  std::function<void(ContentWriter&)> run;
  int weight = 1;  // rough cost, so the slow jobs start first
};

using JobList = std::vector<Job>;

void AddFontJobs(JobList& jobs);
// The fonts' licence beside the bitmap fonts drawn from them.
void AddFontLicenceJob(JobList& jobs);
void AddInterfaceJobs(JobList& jobs);
void AddLevelJobs(JobList& jobs, const std::filesystem::path& levelSource);
// The level's own files alone: its map and its pictures.
void AddLevelOwnJobs(JobList& jobs, const std::filesystem::path& levelSource);
void AddCharacterJobs(JobList& jobs);
void AddEffectJobs(JobList& jobs);
void AddSoundJobs(JobList& jobs);
void AddMusicJobs(JobList& jobs);
