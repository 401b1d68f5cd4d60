// Determinant and inverse of a real n x n matrix with the numeric library,
// against a plain Gaussian elimination with partial pivoting written here as
// the baseline (determinant by elimination, inverse by Gauss-Jordan on [A | I]).
// The library should stay within twice the baseline's time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "calc/numlib_linear.h"

namespace {

using lemmabox::NumKind;
using lemmabox::NumMatrix;

std::vector<double> RandomEntries(int n) {
  std::mt19937_64 generator(20240601);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> a(static_cast<size_t>(n) * n);
  for (double& v : a) v = uniform(generator);
  return a;
}

NumMatrix RandomMatrix(int n) {
  NumMatrix m(n, n, NumKind::kReal);
  m.re = RandomEntries(n);
  return m;
}

double BaselineDeterminant(std::vector<double> a, int n) {
  double det = 1.0;
  for (int j = 0; j < n; ++j) {
    int p = j;
    for (int i = j + 1; i < n; ++i) {
      if (std::fabs(a[i * n + j]) > std::fabs(a[p * n + j])) p = i;
    }
    if (p != j) {
      for (int k = 0; k < n; ++k) std::swap(a[j * n + k], a[p * n + k]);
      det = -det;
    }
    double pivot = a[j * n + j];
    det *= pivot;
    for (int i = j + 1; i < n; ++i) {
      double l = a[i * n + j] / pivot;
      for (int k = j + 1; k < n; ++k) a[i * n + k] -= l * a[j * n + k];
    }
  }
  return det;
}

std::vector<double> BaselineInverse(std::vector<double> a, int n) {
  std::vector<double> x(static_cast<size_t>(n) * n, 0.0);
  for (int i = 0; i < n; ++i) x[i * n + i] = 1.0;
  for (int j = 0; j < n; ++j) {
    int p = j;
    for (int i = j + 1; i < n; ++i) {
      if (std::fabs(a[i * n + j]) > std::fabs(a[p * n + j])) p = i;
    }
    if (p != j) {
      for (int k = 0; k < n; ++k) {
        std::swap(a[j * n + k], a[p * n + k]);
        std::swap(x[j * n + k], x[p * n + k]);
      }
    }
    double reciprocal = 1.0 / a[j * n + j];
    for (int k = 0; k < n; ++k) {
      a[j * n + k] *= reciprocal;
      x[j * n + k] *= reciprocal;
    }
    for (int i = 0; i < n; ++i) {
      if (i == j) continue;
      double l = a[i * n + j];
      if (l == 0.0) continue;
      for (int k = j; k < n; ++k) a[i * n + k] -= l * a[j * n + k];
      for (int k = 0; k < n; ++k) x[i * n + k] -= l * x[j * n + k];
    }
  }
  return x;
}

void BM_LibraryDeterminant(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  NumMatrix m = RandomMatrix(n);
  for (auto _ : state) benchmark::DoNotOptimize(lemmabox::Determinant(m));
}

void BM_BaselineDeterminant(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  std::vector<double> a = RandomEntries(n);
  for (auto _ : state) benchmark::DoNotOptimize(BaselineDeterminant(a, n));
}

void BM_LibraryInverse(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  NumMatrix m = RandomMatrix(n);
  for (auto _ : state) benchmark::DoNotOptimize(lemmabox::InverseMatrix(m));
}

void BM_BaselineInverse(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  std::vector<double> a = RandomEntries(n);
  for (auto _ : state) benchmark::DoNotOptimize(BaselineInverse(a, n));
}

BENCHMARK(BM_LibraryDeterminant)->Arg(43)->Arg(100)->Arg(200);
BENCHMARK(BM_BaselineDeterminant)->Arg(43)->Arg(100)->Arg(200);
BENCHMARK(BM_LibraryInverse)->Arg(43)->Arg(100)->Arg(200);
BENCHMARK(BM_BaselineInverse)->Arg(43)->Arg(100)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
