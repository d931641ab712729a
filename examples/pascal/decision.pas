{ The larger of two numbers: the statement part comes from decision.fgd. }
program LargerDemo;

procedure Larger(a, b: Integer);
{$I decision.inc}

begin
  Larger(3, 8);
  Larger(8, 3);
  Larger(-5, -5);
end.
